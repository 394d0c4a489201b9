// Program entry of Orvane.exe: the apartment, the common controls, the panel
// and the target CAD dialog, and the message loop until the panel closes.
// Nothing is read from the command line.
#include <windows.h>

#include <commctrl.h>

#include "cadlink/com/comapartment.h"
#include "cadlink/com/comruntime.h"
#include "cadlink/win32/win32windowsystem.h"
#include "core/platform/platform.h"
#include "ui/win32/OrvaneUnit.h"
#include "ui/win32/boxes.h"

namespace {

void runMessageLoop(orvane::ui::win32::TForm91& panel) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab and the arrow keys move between the panel's controls.
        if (!panel.translateShortcut(message) && IsDialogMessageW(panel.handle(), &message) == FALSE) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
    // 1. The user-interface thread becomes a single-threaded apartment.
    const orvane::cadlink::com::ComApartment apartment;
    orvane::cadlink::com::ComAutomationRuntime runtime;
    orvane::cadlink::win32::Win32WindowSystem windows;
    orvane::ui::win32::Win32MessageBoxes boxes;

    // 2. The panel is the only window without an owner, so it carries the
    //    task-bar button. 3. The visual style: the themed common controls of
    //    the manifest and the slate-grey colours the windows paint.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    {
        // 4. The panel; creating it runs the start-up sequence.
        orvane::ui::win32::TForm91 panel({orvane::platform::programPath(), runtime, windows, boxes});
        // 5. The target CAD dialog, hidden.
        panel.createTargetCADForm();
        // 6. Until the panel closes.
        panel.show();
        runMessageLoop(panel);
        // 7. Destroying the panel runs the shutdown sequence.
    }
    return 0;
}
