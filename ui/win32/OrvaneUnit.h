#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "cadlink/automation.h"
#include "cadlink/windowsystem.h"
#include "ui/panel.h"
#include "ui/searchbox.h"
#include "ui/typeahead.h"
#include "ui/win32/fonts.h"
#include "ui/win32/searchbox.h"

namespace orvane::ui::win32 {

class ListFollower;
class MessageBoxes;
class TTargetCADForm;

// What the panel is built over; tests pass fakes and a temporary program
// directory.
struct PanelDependencies {
    // The executable's full path: program directory, settings file and the
    // title of the error boxes derive from it.
    std::u16string programPath;
    cadlink::AutomationRuntime& runtime;
    cadlink::WindowSystem& windows;
    MessageBoxes& boxes;
    // The target CAD dialog's type-ahead clock.
    TypeAhead::Clock clock = std::chrono::steady_clock::now;
};

// The main panel window as a native window: a top-most strip with the status
// lamp, the IMEOFF check box, the menu list chooser and a menu bar built from
// the slot grid. Creating it runs the start-up sequence and destroying it
// the shutdown sequence; its rules are the portable logic's, it draws and
// forwards.
class TForm91 final : private PanelWindow, private PanelObserver {
public:
    explicit TForm91(PanelDependencies dependencies);
    ~TForm91() override;
    TForm91(const TForm91&) = delete;
    TForm91& operator=(const TForm91&) = delete;

    // Creates the target CAD dialog, hidden and owned by the panel.
    TTargetCADForm* createTargetCADForm();
    TTargetCADForm* targetCADForm() const { return targetCADForm_.get(); }

    PanelCore& core() { return panel_.core(); }
    const PanelCore& core() const { return panel_.core(); }
    HWND handle() const { return window_; }

    // Shows the window at the bounds start-up set.
    void show();
    // Ends the program as the monitor does: an open dialog or box ends as if
    // cancelled, and the panel closes.
    void closeProgram() { panel_.logic().closeProgram(); }

    void ComboBox1Change(int index) { panel_.logic().ComboBox1Change(index); }
    void N1011Click(int slotNumber) { panel_.N1011Click(slotNumber); }
    void Timer1Timer() { panel_.Timer1Timer(); }

    // Takes the panel's own keys out of the message loop before anything
    // translates them: Ctrl+F in the panel opens the command search box.
    bool translateShortcut(const MSG& message);
    const SearchBox& searchBox() const { return searchBox_; }

    HWND CheckBox1 = nullptr;
    HWND ComboBox1 = nullptr;
    HMENU MainMenu1 = nullptr;

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void handleCommand(WPARAM wParam, LPARAM lParam);

    void createWindow();
    void createControls();
    void applyDesignedSize();
    void layoutControls();
    void applyFonts();
    void paintLamp(HDC dc) const;
    RECT lampRect() const;
    int scaled(int pixelsAt96Dpi) const;
    void scheduleMenuRebuild();
    void rebuildMenuBar();

    // PanelHost
    Size currentSize() const override;
    Size primaryScreenSize() const override;
    void SetTopMost(bool on) override;
    void processPendingMessages() override;

    // PanelObserver
    void captionChanged() override;
    void boundsChanged() override;
    void chooserEntriesChanged() override;
    void chooserSelectionChanged() override;
    void checkBoxChanged() override;
    void lampChanged() override;
    void slotChanged(int number) override;

    // PanelView
    bool windowShown() const override;
    bool windowMinimised() const override;
    bool windowMaximised() const override;
    void leaveMaximised() override;
    Bounds outerBounds() const override;
    void applyOuterBounds(const Bounds& bounds) override;
    void cancelModalWindows() override;
    void closeWindow() override;
    void showError(std::u16string_view caption, std::u16string_view text) override;

    // CommandWindows
    void showInformation(std::u16string_view caption, std::u16string_view text) override;
    bool showTargetCADDialog() override;
    std::u16string targetDialogName() const override;
    void setDialogTopMost(bool on) override;
    void setPanelTopMost(bool on) override;

    PanelDependencies deps_;
    HWND window_ = nullptr;
    Panel panel_;
    std::unique_ptr<TTargetCADForm> targetCADForm_;
    std::unique_ptr<ListFollower> listFollower_;
    SearchBox searchBox_{search_};
    SearchBoxLogic search_{searchBox_, [this](const SearchItem& item) { panel_.runSearchItem(item); }};
    FontHandle font_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool menuRebuildPending_ = false;
};

}  // namespace orvane::ui::win32
