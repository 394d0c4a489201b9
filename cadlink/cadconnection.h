#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cadlink/automation.h"
#include "cadlink/windowsystem.h"

namespace orvane::cadlink {

// The road to the running CAD. Keeps nothing between operations: every
// lookup reads the target ProgID afresh, so a change of target takes effect
// at the next operation.
class CadConnection {
public:
    using ProgIdSource = std::function<std::u16string()>;

    CadConnection(AutomationRuntime& runtime, WindowSystem& windows, ProgIdSource targetProgId);

    // Never fails: any trouble in the lookup means "not running".
    bool IsTargetCADRunning() const;
    ObjectRef AttachTargetCAD() const;

    // A late-bound call; gives the empty value when no result is wanted.
    Variant CallCADMember(const ObjectRef& object, std::u16string_view member,
                          const std::optional<std::u16string>& argument, bool wantResult) const;

    WindowHandle ReadCADWindowHandle(const ObjectRef& application) const;
    void BringCADToFront(const ObjectRef& application) const;
    void SendCADCommand(const ObjectRef& application, std::u16string_view text) const;

    std::u16string targetProgId() const { return targetProgId_(); }
    WindowSystem& windows() const { return windows_; }

private:
    Variant readHwnd(const ObjectRef& application) const;
    void pressEscape() const;

    AutomationRuntime& runtime_;
    WindowSystem& windows_;
    ProgIdSource targetProgId_;
};

}  // namespace orvane::cadlink
