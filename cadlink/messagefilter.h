#pragma once

#include <memory>

#include "cadlink/automation.h"
#include "core/panelcore.h"

namespace orvane::cadlink {

// The UI thread's message filter: a call the busy CAD turns away with
// "retry later" is sent again every second for as long as it says so, an
// outright rejection cancels the call, and messages wait while a call runs.
class TMessageFilter final : public MessageFilterInterface,
                             public std::enable_shared_from_this<TMessageFilter> {
public:
    static constexpr std::uint32_t SERVERCALL_ISHANDLED = 0;
    static constexpr std::uint32_t SERVERCALL_RETRYLATER = 2;
    static constexpr std::int32_t RetryDelayMs = 1000;
    static constexpr std::int32_t CancelCall = -1;
    static constexpr std::uint32_t PENDINGMSG_WAITNOPROCESS = 1;

    static std::shared_ptr<TMessageFilter> Create(AutomationRuntime& runtime);

    // Installs this filter and keeps the one it replaces in FOldFilter.
    void RegisterFilter();
    // Puts the previous filter back. The runtime's reference to this object
    // is dropped here; with no other owner the object is gone on return.
    void RevokeFilter();

    std::uint32_t HandleInComingCall(std::uint32_t dwCallType, std::uintptr_t htaskCaller,
                                     std::uint32_t dwTickCount) override;
    std::int32_t RetryRejectedCall(std::uintptr_t htaskCallee, std::uint32_t dwTickCount,
                                   std::uint32_t dwRejectType) override;
    std::uint32_t MessagePending(std::uintptr_t htaskCallee, std::uint32_t dwTickCount,
                                 std::uint32_t dwPendingType) override;

private:
    explicit TMessageFilter(AutomationRuntime& runtime) : runtime_(runtime) {}

    AutomationRuntime& runtime_;
    MessageFilterRef FOldFilter;
};

// The filter as the panel's start-up and shutdown see it: RegisterFilter
// creates and installs it, RevokeFilter restores the previous filter and
// destroys this one. Holding the filter here keeps it alive even when the
// runtime refused to take it, so shutdown never meets a dangling filter.
class CallRetryFilterHook final : public orvane::CallRetryFilter {
public:
    explicit CallRetryFilterHook(AutomationRuntime& runtime) : runtime_(runtime) {}

    void RegisterFilter() override;
    // Does nothing when no filter was created.
    void RevokeFilter() override;

private:
    AutomationRuntime& runtime_;
    std::shared_ptr<TMessageFilter> filter_;
};

// What the panel core calls at start-up to get its filter.
orvane::CallRetryFilterFactory callRetryFilterFactory(AutomationRuntime& runtime);

}  // namespace orvane::cadlink
