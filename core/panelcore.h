#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/menulist.h"
#include "core/panelstate.h"

namespace orvane {

inline constexpr char16_t kDefaultProgID[] = u"BricscadApp.AcadApplication";
inline constexpr char16_t kDefaultMenuListName[] = u"OrvaneList.txt";

// The process-wide values the panel core owns.
struct SharedValues {
    // The ProgID of the target CAD's application object. The dialog's OK
    // writes it directly; the CAD link reads it on every lookup.
    std::u16string TargetProgID;
    // The target CAD's label in the caption; change it with
    // PanelCore::setTargetCADName so the caption follows.
    std::u16string TargetCADName;
    // The caption base, set by a "CAPTION_" line of a menu list.
    std::u16string MenuTitle;
    // Set by the monitor once it has seen the CAD's window; never cleared.
    bool CADSeen = false;
};

// What only the main window or the platform knows.
class PanelHost {
public:
    virtual ~PanelHost() = default;
    // The window's outer size as it is before start-up applies the settings.
    virtual Size currentSize() const = 0;
    // The primary monitor's size in pixels (no work area, no other monitors).
    virtual Size primaryScreenSize() const = 0;
    // SetTopMost(panel, on): enter or leave the top-most band without moving,
    // resizing or deactivating.
    virtual void SetTopMost(bool on) = 0;
    // Process the messages waiting in the user-interface thread's queue.
    virtual void processPendingMessages() = 0;
};

// The call retry filter as start-up and shutdown see it: created at start-up,
// registered, and revoked at shutdown.
class CallRetryFilter {
public:
    virtual ~CallRetryFilter() = default;
    virtual void RegisterFilter() = 0;
    virtual void RevokeFilter() = 0;
};
using CallRetryFilterFactory = std::function<std::unique_ptr<CallRetryFilter>()>;

// Receives an error that ends the start-up or shutdown sequence; the window
// shows it in the default error box.
using ErrorSink = std::function<void(const Error&)>;

// The panel's logic: shared values, panel state, the start-up and shutdown
// sequences and the menu list chooser's handler. Handlers other than
// FormCreate and FormDestroy let errors escape to the caller, which shows
// them in the default error box.
class PanelCore {
public:
    // programPath: the executable's full path (platform::programPath() in the
    // program); the program directory and the settings path derive from it.
    // The host must outlive the core. An empty filter factory registers none.
    PanelCore(std::u16string programPath, PanelHost& host, CallRetryFilterFactory filterFactory,
              ErrorSink errorSink);
    PanelCore(const PanelCore&) = delete;
    PanelCore& operator=(const PanelCore&) = delete;
    ~PanelCore();

    const std::u16string& programPath() const noexcept { return programPath_; }
    // Ends with the path separator.
    const std::u16string& programDirectory() const noexcept { return programDirectory_; }
    const std::u16string& settingsPath() const noexcept { return settingsPath_; }

    PanelState& state() noexcept { return state_; }
    const PanelState& state() const noexcept { return state_; }
    SharedValues& shared() noexcept { return shared_; }
    const SharedValues& shared() const noexcept { return shared_; }
    // The registered filter between start-up step 11 and shutdown; nullptr otherwise.
    CallRetryFilter* MessageFilter() const noexcept { return messageFilter_.get(); }

    // Start-up sequence; run once before the window is first shown. An error
    // ends the sequence at its step and goes to the error sink.
    void FormCreate();
    // Shutdown sequence; run once when the window is destroyed. A refused
    // settings write goes to the error sink and skips the remaining writes.
    void FormDestroy();
    // The settings writes of shutdown, from the current state, for a program
    // that ends without its shutdown sequence. Errors escape.
    void writeSettingsNow() { writeSettings(); }

    // Loads programDirectory() + lstname into the slots. Errors escape.
    void loadMenuList(std::u16string_view lstname);
    // The chooser's change handler: loads the selected entry, if any.
    void ComboBox1Change();
    // The user picked a chooser entry: select it and run ComboBox1Change.
    void chooserPickedByUser(std::size_t index);

    // The chooser's entries become the list files now in the program
    // directory. The selected entry stays selected, and stays an entry while
    // its file is gone, as the menus still show it. Errors escape.
    void refreshChooser();
    // Loads the selected entry as ComboBox1Change does, but reads the file
    // whole first: one that cannot be read throws its Error and leaves the
    // menus and the caption as they were.
    void reloadSelectedList();

    // Caption := MenuTitle + " [ " + TargetCADName + " ]".
    void recomposeCaption();
    // The "CAD_" command's OK: TargetCADName := label, caption recomposed.
    void setTargetCADName(std::u16string label);

private:
    void readSettings(std::u16string& listName);
    void writeSettings();
    MenuTitleHandler menuTitleSetter();

    std::u16string programPath_;
    std::u16string programDirectory_;
    std::u16string settingsPath_;
    PanelHost& host_;
    CallRetryFilterFactory filterFactory_;
    ErrorSink errorSink_;
    PanelState state_;
    SharedValues shared_;
    std::unique_ptr<CallRetryFilter> messageFilter_;
};

}  // namespace orvane
