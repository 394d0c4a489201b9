#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "cadlink/messagefilter.h"
#include "tests/integration/bustest.h"

namespace orvane::integration {
namespace {

using cadlink::MessageFilterInterface;
using cadlink::ObjectRef;
namespace status = cadlink::status;

// Records every consultation and answers as the given rule says.
class RecordingFilter final : public MessageFilterInterface {
public:
    struct Consultation {
        std::uint32_t tickCount;
        std::uint32_t rejectType;
    };

    explicit RecordingFilter(std::function<std::int32_t(std::uint32_t rejectType, std::size_t calls)> rule)
        : rule_(std::move(rule)) {}

    std::uint32_t HandleInComingCall(std::uint32_t, std::uintptr_t, std::uint32_t) override { return 0; }
    std::int32_t RetryRejectedCall(std::uintptr_t, std::uint32_t tickCount, std::uint32_t rejectType) override {
        consultations.push_back({tickCount, rejectType});
        return rule_(rejectType, consultations.size());
    }
    std::uint32_t MessagePending(std::uintptr_t, std::uint32_t, std::uint32_t) override { return 1; }

    std::vector<Consultation> consultations;

private:
    std::function<std::int32_t(std::uint32_t, std::size_t)> rule_;
};

class RetryTest : public BusTest {
protected:
    cadlink::dbus::DBusAutomationRuntime runtime;
    cadlink::fake::FakeWindowSystem windows;
    std::u16string target;
    cadlink::CadConnection connection{runtime, windows, [this] { return target; }};
};

// The panel's own filter, watched from outside: it answers 1000 to "retry
// later" and -1 to anything else.
class WatchedPanelFilter final : public MessageFilterInterface {
public:
    explicit WatchedPanelFilter(cadlink::AutomationRuntime& runtime) : panelFilter_(cadlink::TMessageFilter::Create(runtime)) {}
    std::uint32_t HandleInComingCall(std::uint32_t a, std::uintptr_t b, std::uint32_t c) override {
        return panelFilter_->HandleInComingCall(a, b, c);
    }
    std::int32_t RetryRejectedCall(std::uintptr_t callee, std::uint32_t tickCount, std::uint32_t rejectType) override {
        const std::int32_t answer = panelFilter_->RetryRejectedCall(callee, tickCount, rejectType);
        consultations.push_back({tickCount, rejectType, answer});
        return answer;
    }
    std::uint32_t MessagePending(std::uintptr_t a, std::uint32_t b, std::uint32_t c) override {
        return panelFilter_->MessagePending(a, b, c);
    }

    struct Consultation {
        std::uint32_t tickCount;
        std::uint32_t rejectType;
        std::int32_t answer;
    };
    std::vector<Consultation> consultations;

private:
    std::shared_ptr<cadlink::TMessageFilter> panelFilter_;
};

TEST_F(RetryTest, ABusyCadIsAskedAgainEverySecondUntilItTakesTheCall) {
    const auto demo = startDemo({QStringLiteral("--busy-each"), QStringLiteral("3000")});
    target = demo->progIdU16();
    auto filter = std::make_shared<WatchedPanelFilter>(runtime);
    runtime.CoRegisterMessageFilter(filter);
    const ObjectRef application = connection.AttachTargetCAD();

    EXPECT_EQ(statusOf([&] { connection.ReadCADWindowHandle(application); }), 0);

    const auto& consultations = filter->consultations;
    ASSERT_GE(consultations.size(), 2U);
    ASSERT_LE(consultations.size(), 4U);
    for (std::size_t i = 0; i < consultations.size(); ++i) {
        EXPECT_EQ(consultations[i].rejectType, 2U);
        EXPECT_EQ(consultations[i].answer, 1000);
        if (i > 0) {
            EXPECT_GT(consultations[i].tickCount, consultations[i - 1].tickCount);
        }
    }
    EXPECT_EQ(demo->countLines(QStringLiteral("BUSY HWND")), static_cast<int>(consultations.size()));
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL HWND")), static_cast<int>(consultations.size()) + 1);
}

TEST_F(RetryTest, AnOutrightRejectionFailsAtOnce) {
    const auto demo = startDemo({QStringLiteral("--reject")});
    target = demo->progIdU16();
    auto filter = std::make_shared<WatchedPanelFilter>(runtime);
    runtime.CoRegisterMessageFilter(filter);
    const ObjectRef application = connection.AttachTargetCAD();

    EXPECT_EQ(statusOf([&] { connection.SendCADCommand(application, u"_LINE\r"); }), status::CallRejected);
    ASSERT_EQ(filter->consultations.size(), 1U);
    EXPECT_EQ(filter->consultations[0].rejectType, 1U);
    EXPECT_EQ(filter->consultations[0].answer, -1);
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL ActiveDocument")), 1);
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL SendCommand")), 0);
}

TEST_F(RetryTest, WithoutAFilterARejectedCallFailsAtOnce) {
    const auto demo = startDemo({QStringLiteral("--busy-life"), QStringLiteral("60000")});
    target = demo->progIdU16();
    const ObjectRef application = connection.AttachTargetCAD();
    EXPECT_EQ(statusOf([&] { connection.ReadCADWindowHandle(application); }), status::CallRejected);
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL HWND")), 1);
}

TEST_F(RetryTest, SmallAnswersRetryAtOnceAndMinusOneCancels) {
    const auto demo = startDemo({QStringLiteral("--busy-life"), QStringLiteral("60000")});
    target = demo->progIdU16();
    auto filter = std::make_shared<RecordingFilter>(
        [](std::uint32_t, std::size_t calls) { return calls < 4 ? static_cast<std::int32_t>(calls * 33) : -1; });
    runtime.CoRegisterMessageFilter(filter);
    const ObjectRef application = connection.AttachTargetCAD();
    EXPECT_EQ(statusOf([&] { connection.ReadCADWindowHandle(application); }), status::CallRejected);
    EXPECT_EQ(filter->consultations.size(), 4U);
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL HWND")), 4);
}

TEST_F(RetryTest, PropertyReadsAreRetriedLikeMethodCalls) {
    const auto demo = startDemo({QStringLiteral("--busy-each"), QStringLiteral("300"), QStringLiteral("--property"),
                                 QStringLiteral("Version=s:1.0")});
    target = demo->progIdU16();
    auto filter = std::make_shared<RecordingFilter>([](std::uint32_t, std::size_t) { return 150; });
    runtime.CoRegisterMessageFilter(filter);
    const ObjectRef application = connection.AttachTargetCAD();
    EXPECT_EQ(connection.CallCADMember(application, u"Version", std::nullopt, true),
              cadlink::Variant(std::u16string(u"1.0")));
    EXPECT_GE(filter->consultations.size(), 2U);  // once for the method, once or more for the property
}

TEST_F(RetryTest, RegisteringAFilterGivesBackThePreviousOne) {
    auto first = std::make_shared<RecordingFilter>([](std::uint32_t, std::size_t) { return -1; });
    auto second = std::make_shared<RecordingFilter>([](std::uint32_t, std::size_t) { return -1; });
    EXPECT_EQ(runtime.CoRegisterMessageFilter(first), nullptr);
    EXPECT_EQ(runtime.CoRegisterMessageFilter(second), first);
    EXPECT_EQ(runtime.CoRegisterMessageFilter(nullptr), second);
    EXPECT_EQ(runtime.CoRegisterMessageFilter(nullptr), nullptr);
}

TEST_F(RetryTest, ThePanelFilterIsPutInPlaceAndTakenBackThroughTheRuntime) {
    const auto demo = startDemo({QStringLiteral("--busy-each"), QStringLiteral("1500")});
    target = demo->progIdU16();
    auto previous = std::make_shared<RecordingFilter>([](std::uint32_t, std::size_t) { return -1; });
    runtime.CoRegisterMessageFilter(previous);
    auto panelFilter = cadlink::TMessageFilter::Create(runtime);
    panelFilter->RegisterFilter();
    const ObjectRef application = connection.AttachTargetCAD();
    EXPECT_EQ(statusOf([&] { connection.ReadCADWindowHandle(application); }), 0);
    EXPECT_TRUE(previous->consultations.empty());

    panelFilter->RevokeFilter();
    EXPECT_EQ(statusOf([&] { connection.ReadCADWindowHandle(application); }), status::CallRejected);
    EXPECT_EQ(previous->consultations.size(), 1U);
}

}  // namespace
}  // namespace orvane::integration
