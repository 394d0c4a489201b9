#include "cadlink/messagefilter.h"

#include <gtest/gtest.h>

#include "cadlink/fake/fakeautomation.h"

namespace orvane::cadlink {
namespace {

// A filter someone else registered before the panel started.
class ForeignFilter final : public MessageFilterInterface {
public:
    std::uint32_t HandleInComingCall(std::uint32_t /*dwCallType*/, std::uintptr_t /*htaskCaller*/,
                                     std::uint32_t /*dwTickCount*/) override {
        return 1;
    }
    std::int32_t RetryRejectedCall(std::uintptr_t /*htaskCallee*/, std::uint32_t /*dwTickCount*/,
                                   std::uint32_t /*dwRejectType*/) override {
        return 0;
    }
    std::uint32_t MessagePending(std::uintptr_t /*htaskCallee*/, std::uint32_t /*dwTickCount*/,
                                 std::uint32_t /*dwPendingType*/) override {
        return 2;
    }
};

TEST(MessageFilterAnswers, RetryLaterIsRetriedAfterASecondAndAnythingElseCancelled) {
    fake::FakeAutomationRuntime runtime;
    const auto filter = TMessageFilter::Create(runtime);
    for (std::uint32_t tick : {0U, 5000U, 0xFFFFFFFFU}) {
        EXPECT_EQ(filter->RetryRejectedCall(0, tick, 2), 1000);
        EXPECT_EQ(filter->RetryRejectedCall(0, tick, 1), -1);
        EXPECT_EQ(filter->RetryRejectedCall(0, tick, 0), -1);
        EXPECT_EQ(filter->RetryRejectedCall(0, tick, 3), -1);
        EXPECT_EQ(filter->RetryRejectedCall(0, tick, 0xFFFFFFFFU), -1);
    }
}

TEST(MessageFilterAnswers, IncomingCallsAreAcceptedAndMessagesWait) {
    fake::FakeAutomationRuntime runtime;
    const auto filter = TMessageFilter::Create(runtime);
    for (std::uint32_t kind : {1U, 2U, 3U, 4U, 5U}) {
        EXPECT_EQ(filter->HandleInComingCall(kind, 0x1234, 100), 0U);
        EXPECT_EQ(filter->MessagePending(0x1234, 100, kind), 1U);
    }
}

TEST(MessageFilterChain, WithoutAPreviousFilterNoneRemainsAfterRevoke) {
    fake::FakeAutomationRuntime runtime;
    std::weak_ptr<TMessageFilter> watch;
    TMessageFilter* messageFilter = nullptr;
    {
        const auto created = TMessageFilter::Create(runtime);
        watch = created;
        messageFilter = created.get();
        messageFilter->RegisterFilter();
    }
    ASSERT_FALSE(watch.expired()) << "the runtime keeps the registered filter alive";
    EXPECT_EQ(runtime.currentFilter().get(), messageFilter);
    messageFilter->RevokeFilter();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(runtime.currentFilter(), nullptr);
    EXPECT_EQ(runtime.log().count("CoRegisterMessageFilter"), 2U);
}

TEST(MessageFilterChain, APreviousFilterIsKeptAndPutBack) {
    fake::FakeAutomationRuntime runtime;
    const auto previous = std::make_shared<ForeignFilter>();
    runtime.setCurrentFilter(previous);
    std::weak_ptr<TMessageFilter> watch;
    TMessageFilter* messageFilter = nullptr;
    {
        const auto created = TMessageFilter::Create(runtime);
        watch = created;
        messageFilter = created.get();
        messageFilter->RegisterFilter();
    }
    EXPECT_EQ(runtime.currentFilter().get(), messageFilter);
    EXPECT_EQ(previous.use_count(), 2) << "held by the test and by the new filter";
    messageFilter->RevokeFilter();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(runtime.currentFilter(), previous);
    EXPECT_EQ(previous.use_count(), 2) << "held by the test and by the runtime again";
}

TEST(CallRetryFilterHook, RegistersAFilterAndRestoresThePreviousOne) {
    fake::FakeAutomationRuntime runtime;
    const auto previous = std::make_shared<ForeignFilter>();
    runtime.setCurrentFilter(previous);
    const auto hook = callRetryFilterFactory(runtime)();
    hook->RegisterFilter();
    const std::weak_ptr<MessageFilterInterface> registered = runtime.currentFilter();
    ASSERT_NE(registered.lock(), previous);
    EXPECT_EQ(registered.lock()->RetryRejectedCall(0, 0, 2), 1000);
    hook->RevokeFilter();
    EXPECT_EQ(runtime.currentFilter(), previous);
    EXPECT_TRUE(registered.expired());
}

TEST(CallRetryFilterHook, RevokeWithoutRegisterTouchesNothing) {
    fake::FakeAutomationRuntime runtime;
    const auto previous = std::make_shared<ForeignFilter>();
    runtime.setCurrentFilter(previous);
    CallRetryFilterHook hook(runtime);
    hook.RevokeFilter();
    EXPECT_EQ(runtime.currentFilter(), previous);
    EXPECT_TRUE(runtime.log().entries().empty());
}

TEST(CallRetryFilterHook, ARefusedRegistrationLeavesNothingDangling) {
    fake::FakeAutomationRuntime runtime;
    runtime.refuseFilters(true);
    CallRetryFilterHook hook(runtime);
    hook.RegisterFilter();
    EXPECT_EQ(runtime.currentFilter(), nullptr);
    hook.RevokeFilter();
    EXPECT_EQ(runtime.log().count("CoRegisterMessageFilter"), 2U);
}

TEST(CallRetryFilterHook, AFailedRevokeReachesTheCaller) {
    fake::FakeAutomationRuntime runtime;
    CallRetryFilterHook hook(runtime);
    hook.RegisterFilter();
    runtime.failOn("CoRegisterMessageFilter", status::Failed);
    EXPECT_THROW(hook.RevokeFilter(), AutomationError);
}

}  // namespace
}  // namespace orvane::cadlink
