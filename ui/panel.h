#pragma once

#include <string>

#include "cadlink/automation.h"
#include "cadlink/cadconnection.h"
#include "cadlink/cadguard.h"
#include "cadlink/cadmonitor.h"
#include "cadlink/windowsystem.h"
#include "core/menucommands.h"
#include "core/panelcore.h"
#include "ui/commandsearch.h"
#include "ui/listitemcache.h"
#include "ui/panelform.h"

namespace orvane::ui {

// Everything the panel's logic asks of the window that shows it.
class PanelWindow : public PanelHost, public PanelView, public CommandWindows {};

// What the panel is built over; tests pass fakes and a temporary program
// directory.
struct PanelServices {
    // The executable's full path: program directory, settings file and the
    // title of the error boxes derive from it.
    std::u16string programPath;
    cadlink::AutomationRuntime& runtime;
    cadlink::WindowSystem& windows;
    // The version box's third line: the system and the toolkit.
    std::u16string versionLine;
};

// The panel window's logic as a whole: the panel core, the CAD connection
// and its guard, the monitor and the menu commands, over the window that
// shows them. The window must outlive it.
class Panel {
public:
    Panel(PanelWindow& window, PanelServices services);
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The start-up sequence, once the window has its controls and its
    // initial bounds, before it is first shown.
    void create();
    // The shutdown sequence, while every control still holds its state; once,
    // however often the window's end is announced.
    void destroy();

    // An item slot was clicked.
    void N1011Click(int slotNumber) {
        logic_.report([&] { commands_.N1011Click(slotNumber); });
    }
    // The monitor timer ticked.
    void Timer1Timer() { monitor_.Timer1Timer(); }

    // What the command search covers: the items of the menus shown and,
    // unless the settings file's [Search] AllLists says 0, those of every
    // other list in the chooser that can be read now. A list is read again
    // only when its file changed since the last time.
    std::vector<SearchItem> searchItems();
    // Runs an item the search found as a click on it would; an item of
    // another list runs without switching the chooser. An item whose slot
    // holds something else by now runs nothing.
    void runSearchItem(const SearchItem& item);

    PanelCore& core() { return core_; }
    const PanelCore& core() const { return core_; }
    PanelFormLogic& logic() { return logic_; }

private:
    PanelCore core_;
    PanelFormLogic logic_;
    cadlink::CadConnection connection_;
    cadlink::CadGuard guard_;
    cadlink::CadMonitor monitor_;
    MenuCommands commands_;
    ListItemCache otherLists_;
    bool destroyed_ = false;
};

}  // namespace orvane::ui
