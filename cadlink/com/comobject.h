#pragma once

#include <windows.h>
#include <oaidl.h>

#include "cadlink/automation.h"
#include "cadlink/com/comref.h"

namespace orvane::cadlink::com {

// An automation object reached through IDispatch, late-bound: names are
// resolved at every call, and the reference is released with the object.
class ComAutomationObject final : public AutomationObject {
public:
    // dispatch is never null.
    explicit ComAutomationObject(ComRef<IDispatch> dispatch);

    // Throws AutomationError with the object's status, UnknownName among them.
    DispId GetIDsOfNames(std::u16string_view name) override;
    // Any status but S_OK fails; an error the object raises itself
    // (DISP_E_EXCEPTION) carries the object's own description.
    Variant Invoke(DispId member, CallKind kind, const std::optional<std::u16string>& argument,
                   bool wantResult) override;

    IDispatch* dispatch() const { return dispatch_.get(); }

private:
    ComRef<IDispatch> dispatch_;
};

}  // namespace orvane::cadlink::com
