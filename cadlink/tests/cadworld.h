#pragma once

#include <string>

#include "cadlink/cadconnection.h"
#include "cadlink/fake/fakeautomation.h"
#include "cadlink/fake/fakecad.h"
#include "cadlink/fake/fakewindowsystem.h"

namespace orvane::cadlink::testing {

inline constexpr char16_t DefaultProgId[] = u"BricscadApp.AcadApplication";
inline constexpr WindowHandle CadWindow = static_cast<WindowHandle>(fake::FakeCad::DefaultWindow);

// A running CAD under the default ProgID, its main window present and not
// minimised, and a connection that reads the target ProgID from progId.
struct CadWorld {
    CadWorld() {
        cad.runIn(runtime, DefaultProgId);
        windows.addWindow(CadWindow);
    }

    fake::CallLogRef log = std::make_shared<fake::CallLog>();
    fake::FakeAutomationRuntime runtime{log};
    fake::FakeWindowSystem windows{log};
    fake::FakeCad cad{log};
    std::u16string progId = DefaultProgId;
    CadConnection connection{runtime, windows, [this] { return progId; }};
};

}  // namespace orvane::cadlink::testing
