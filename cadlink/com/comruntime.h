#pragma once

#include "cadlink/automation.h"

namespace orvane::cadlink::com {

// The automation system of COM: ProgIDs from the registry, running objects
// from the running object table, and the calling thread's message filter.
// Use it on the thread whose apartment it serves (see ComApartment).
class ComAutomationRuntime final : public AutomationRuntime {
public:
    // The ClassId keeps the CLSID in its registry form, "{...}".
    ClassId CLSIDFromProgID(std::u16string_view progId) override;
    // The running object as an automation object; fails with the system's
    // status, NoInterface for an object without IDispatch among them.
    ObjectRef GetActiveObject(const ClassId& classId) override;
    MessageFilterRef CoRegisterMessageFilter(MessageFilterRef filter) override;
};

}  // namespace orvane::cadlink::com
