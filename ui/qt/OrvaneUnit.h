#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <string>

#include "cadlink/automation.h"
#include "cadlink/windowsystem.h"
#include "ui/panel.h"
#include "ui/qt/TaregetCADUnit.h"
#include "ui/searchbox.h"
#include "ui/typeahead.h"

class QCheckBox;
class QComboBox;
class QTimer;

namespace orvane::ui {

class ListFollower;
class MessageBoxes;
class SearchBox;
class SlotMenuBar;
class TShape;

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

// The main panel window: a top-most strip with the status lamp, the IMEOFF
// check box, the menu list chooser and the menu bar of slots. It shows the
// panel state and routes every event to its handler; creating it runs the
// start-up sequence and destroying it the shutdown sequence. Its rules are
// the portable logic's; it draws and forwards.
class TForm91 final : public QMainWindow, private PanelWindow, private PanelObserver {
    Q_OBJECT

public:
    explicit TForm91(PanelDependencies dependencies);
    ~TForm91() override;
    TForm91(const TForm91&) = delete;
    TForm91& operator=(const TForm91&) = delete;

    // Creates the target CAD dialog, hidden and owned by the panel.
    TTargetCADForm* createTargetCADForm();
    TTargetCADForm* targetCADForm() const { return targetCADForm_; }

    PanelCore& core() { return panel_.core(); }

    // Ends the program as the monitor does: an open dialog or box ends as if
    // cancelled, and the panel closes.
    void closeProgram() { panel_.logic().closeProgram(); }

    // The chooser's entry at index was picked by the user.
    void ComboBox1Change(int index) { panel_.logic().ComboBox1Change(index); }
    void N1011Click(int slotNumber) { panel_.N1011Click(slotNumber); }
    void Timer1Timer() { panel_.Timer1Timer(); }

    TShape* Shape1;
    QCheckBox* CheckBox1;
    QComboBox* ComboBox1;
    SlotMenuBar* MainMenu1;
    QTimer* Timer1;
    // Ctrl+F opens it under the menu bar.
    SearchBox* SearchBox1;

    void setVisible(bool visible) override;

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
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

    void createControls();
    void openSearchBox();
    void returnToNormalBounds();

    PanelDependencies deps_;
    Panel panel_;
    QPointer<TTargetCADForm> targetCADForm_;
    bool shownBefore_ = false;
    QTimer* leaveMaximisedTimer_ = nullptr;
    ListFollower* listFollower_ = nullptr;
    int leaveMaximisedTries_ = 0;
    std::unique_ptr<SearchBoxLogic> search_;
};

}  // namespace orvane::ui
