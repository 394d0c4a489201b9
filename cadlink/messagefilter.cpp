#include "cadlink/messagefilter.h"

#include <utility>

namespace orvane::cadlink {

std::shared_ptr<TMessageFilter> TMessageFilter::Create(AutomationRuntime& runtime) {
    return std::shared_ptr<TMessageFilter>(new TMessageFilter(runtime));
}

void TMessageFilter::RegisterFilter() {
    FOldFilter.reset();
    FOldFilter = runtime_.CoRegisterMessageFilter(shared_from_this());
}

void TMessageFilter::RevokeFilter() {
    MessageFilterRef replaced = runtime_.CoRegisterMessageFilter(FOldFilter);
    // Releasing the runtime's reference may destroy this object: nothing
    // after this line may touch a member.
    replaced.reset();
}

std::uint32_t TMessageFilter::HandleInComingCall(std::uint32_t /*dwCallType*/,
                                                 std::uintptr_t /*htaskCaller*/,
                                                 std::uint32_t /*dwTickCount*/) {
    return SERVERCALL_ISHANDLED;
}

std::int32_t TMessageFilter::RetryRejectedCall(std::uintptr_t /*htaskCallee*/,
                                               std::uint32_t /*dwTickCount*/,
                                               std::uint32_t dwRejectType) {
    return dwRejectType == SERVERCALL_RETRYLATER ? RetryDelayMs : CancelCall;
}

std::uint32_t TMessageFilter::MessagePending(std::uintptr_t /*htaskCallee*/,
                                             std::uint32_t /*dwTickCount*/,
                                             std::uint32_t /*dwPendingType*/) {
    return PENDINGMSG_WAITNOPROCESS;
}

void CallRetryFilterHook::RegisterFilter() {
    filter_ = TMessageFilter::Create(runtime_);
    filter_->RegisterFilter();
}

void CallRetryFilterHook::RevokeFilter() {
    if (!filter_) {
        return;
    }
    const std::shared_ptr<TMessageFilter> filter = std::move(filter_);
    filter->RevokeFilter();
}

orvane::CallRetryFilterFactory callRetryFilterFactory(AutomationRuntime& runtime) {
    return [&runtime]() -> std::unique_ptr<orvane::CallRetryFilter> {
        return std::make_unique<CallRetryFilterHook>(runtime);
    };
}

}  // namespace orvane::cadlink
