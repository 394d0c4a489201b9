#pragma once

#include "cadlink/cadconnection.h"
#include "core/cadaccess.h"

namespace orvane::cadlink {

// The frame every menu command drives the CAD in: when the target runs,
// attach and run the steps; any failure ends the steps quietly and leaves
// what was done in place. The CAD's objects live only for one run.
class CadGuard final : public orvane::CadAccess {
public:
    explicit CadGuard(const CadConnection& connection) : connection_(connection) {}

    void runGuarded(const std::function<void(CadSession&)>& steps) override;

private:
    const CadConnection& connection_;
};

}  // namespace orvane::cadlink
