#include "cadlink/cadmonitor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cadlink/tests/cadworld.h"
#include "core/utf.h"

namespace orvane::cadlink {
namespace {

using testing::CadWindow;
using testing::CadWorld;

constexpr WindowHandle ImeWindow = 0x2000;

class FakePanel final : public MonitoredPanel {
public:
    std::uint32_t lampColour() const override { return lamp; }
    void setLampColour(std::uint32_t rgb) override {
        lamp = rgb;
        ++lampSets;
    }
    bool imeOffTicked() const override { return imeOff; }
    bool cadSeen() const override { return seen; }
    void setCadSeen(bool value) override { seen = value; }
    void requestClose() override { ++closeRequests; }

    std::uint32_t lamp = LampBlack;
    int lampSets = 0;
    bool imeOff = true;
    bool seen = false;
    int closeRequests = 0;
};

class CadMonitorTest : public ::testing::Test, protected CadWorld {
protected:
    CadMonitorTest() {
        windows.setImeWindow(CadWindow, ImeWindow);
        windows.setImeOpenStatus(ImeWindow, 1);
    }

    bool stateAskedFor() const { return log->count("state.") > 0; }
    bool imeClosed() const { return log->count("imeSetOpenStatus(8192,false)") == 1; }

    FakePanel panel;
    CadMonitor monitor{connection, panel};
};

TEST_F(CadMonitorTest, ACadSeenForTheFirstTimeLightsTheLampAndClosesAnOpenIme) {
    monitor.Timer1Timer();
    EXPECT_EQ(panel.lamp, LampLime);
    EXPECT_TRUE(panel.seen);
    EXPECT_EQ(panel.closeRequests, 0);
    EXPECT_EQ(windows.imeOpenStatus(ImeWindow), 0);
    EXPECT_EQ(
        log->matching("app.Invoke"),
        (std::vector<std::string>{"app.Invoke(HWND,3,want)", "app.Invoke(GetAcadState,3,want)"}));
    EXPECT_EQ(log->count("CLSIDFromProgID"), 2U);
}

TEST_F(CadMonitorTest, NoCadBeforeItWasSeenChangesNothing) {
    progId = u"Nobody.Application";
    for (int tick = 0; tick < 3; ++tick) {
        monitor.Timer1Timer();
    }
    EXPECT_EQ(panel.lampSets, 0);
    EXPECT_FALSE(panel.seen);
    EXPECT_EQ(panel.closeRequests, 0);
    EXPECT_EQ(log->count("CLSIDFromProgID"), 3U);
    EXPECT_EQ(log->count("app."), 0U);
}

TEST_F(CadMonitorTest, ACadThatGoesAwayAfterBeingSeenClosesThePanelAndLeavesTheLamp) {
    monitor.Timer1Timer();
    runtime.setRunning("{CAD}", nullptr);
    monitor.Timer1Timer();
    EXPECT_EQ(panel.closeRequests, 1);
    EXPECT_EQ(panel.lamp, LampLime);
}

TEST_F(CadMonitorTest, SwitchingToATargetThatIsNotRunningAfterASightingClosesThePanel) {
    monitor.Timer1Timer();
    progId = u"Other.Application";
    monitor.Timer1Timer();
    EXPECT_EQ(panel.closeRequests, 1);
}

TEST_F(CadMonitorTest, ACadStartedLaterIsPickedUpAtTheNextTick) {
    runtime.setRunning("{CAD}", nullptr);
    monitor.Timer1Timer();
    EXPECT_FALSE(panel.seen);
    cad.runIn(runtime, testing::DefaultProgId);
    monitor.Timer1Timer();
    EXPECT_TRUE(panel.seen);
    EXPECT_EQ(panel.lamp, LampLime);
}

TEST_F(CadMonitorTest, TheLampIsSetOnlyWhenItsColourChanges) {
    monitor.Timer1Timer();
    monitor.Timer1Timer();
    EXPECT_EQ(panel.lampSets, 1);
    cad.setHwnd(std::int64_t{0});
    monitor.Timer1Timer();
    monitor.Timer1Timer();
    EXPECT_EQ(panel.lamp, LampBlack);
    EXPECT_EQ(panel.lampSets, 2);
}

TEST_F(CadMonitorTest, AZeroHandleTurnsTheLampBlackAndLeavesImeAndSightingAlone) {
    panel.lamp = LampLime;
    cad.setHwnd(std::int64_t{0});
    monitor.Timer1Timer();
    EXPECT_EQ(panel.lamp, LampBlack);
    EXPECT_FALSE(panel.seen);
    EXPECT_EQ(log->count("ImmGetDefaultIMEWnd"), 0U);
    EXPECT_EQ(panel.closeRequests, 0);
}

TEST_F(CadMonitorTest, AZeroHandleAfterASightingKeepsThePanelOpen) {
    monitor.Timer1Timer();
    cad.setHwnd(std::int64_t{0});
    monitor.Timer1Timer();
    EXPECT_TRUE(panel.seen);
    EXPECT_EQ(panel.closeRequests, 0);
}

TEST_F(CadMonitorTest, AHandleThatNamesNoWindowIsNotASighting) {
    windows.removeWindow(CadWindow);
    monitor.Timer1Timer();
    EXPECT_EQ(panel.lamp, LampLime);
    EXPECT_FALSE(panel.seen);
}

TEST_F(CadMonitorTest, SightingIsNotRecheckedOnceMade) {
    monitor.Timer1Timer();
    monitor.Timer1Timer();
    EXPECT_EQ(log->count("IsWindow"), 1U);
}

TEST_F(CadMonitorTest, WithImeOffUntickedTheImeIsNotLookedAt) {
    panel.imeOff = false;
    monitor.Timer1Timer();
    EXPECT_EQ(log->count("ImmGetDefaultIMEWnd"), 0U);
    EXPECT_FALSE(stateAskedFor());
    EXPECT_EQ(windows.imeOpenStatus(ImeWindow), 1);
    EXPECT_EQ(panel.lamp, LampLime);
    EXPECT_TRUE(panel.seen);
}

TEST_F(CadMonitorTest, AWindowWithoutAnImeWindowIsSkipped) {
    windows.setImeWindow(CadWindow, 0);
    monitor.Timer1Timer();
    EXPECT_EQ(log->count("imeGetOpenStatus"), 0U);
    EXPECT_FALSE(stateAskedFor());
    EXPECT_TRUE(panel.seen);
}

TEST_F(CadMonitorTest, OnlyTheLow8BitsOfTheOpenStatusCount) {
    windows.setImeOpenStatus(ImeWindow, 0x100);
    monitor.Timer1Timer();
    EXPECT_EQ(log->count("app.GetIDsOfNames(GetAcadState)"), 0U);
    EXPECT_FALSE(imeClosed());
    windows.setImeOpenStatus(ImeWindow, 0x101);
    monitor.Timer1Timer();
    EXPECT_TRUE(imeClosed());
}

TEST_F(CadMonitorTest, ABusyCadKeepsItsImeUntilItIsIdle) {
    cad.setQuiescent(false);
    monitor.Timer1Timer();
    EXPECT_FALSE(imeClosed());
    EXPECT_TRUE(panel.seen);
    cad.setQuiescent(true);
    monitor.Timer1Timer();
    EXPECT_TRUE(imeClosed());
    EXPECT_EQ(log->count("state.Invoke(IsQuiescent,3,want)"), 2U);
}

// Failures inside the IME check neither close the panel nor skip the sighting.
struct InnerFailure {
    const char* name;
    void (*script)(fake::FakeCad&);
};

class InnerFailureTest : public CadMonitorTest,
                         public ::testing::WithParamInterface<InnerFailure> {};

TEST_P(InnerFailureTest, KeepsTheImeOpenAndThePanelRunning) {
    GetParam().script(cad);
    monitor.Timer1Timer();
    EXPECT_TRUE(panel.seen);
    monitor.Timer1Timer();
    EXPECT_EQ(panel.closeRequests, 0);
    EXPECT_EQ(windows.imeOpenStatus(ImeWindow), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InnerFailureTest,
    ::testing::Values(
        InnerFailure{"StateMemberMissing",
                     [](fake::FakeCad& c) { c.application->removeMember(u"GetAcadState"); }},
        InnerFailure{"StateMemberFails",
                     [](fake::FakeCad& c) {
                         c.application->failMember(u"GetAcadState", status::Exception);
                     }},
        InnerFailure{
            "StateIsNoObject",
            [](fake::FakeCad& c) { c.application->setValue(u"GetAcadState", std::int64_t{1}); }},
        InnerFailure{"QuiescentMissing",
                     [](fake::FakeCad& c) { c.state->removeMember(u"IsQuiescent"); }},
        InnerFailure{
            "QuiescentNoTruthValue",
            [](fake::FakeCad& c) { c.state->setValue(u"IsQuiescent", std::u16string(u"busy")); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CadMonitorTest, AFailedHandleReadBeforeASightingEndsTheTickQuietly) {
    cad.application->failMember(u"HWND", status::CallRejected);
    monitor.Timer1Timer();
    EXPECT_EQ(panel.closeRequests, 0);
    EXPECT_EQ(panel.lampSets, 0);
    EXPECT_FALSE(panel.seen);
}

TEST_F(CadMonitorTest, AFailedHandleReadAfterASightingClosesThePanel) {
    monitor.Timer1Timer();
    cad.application->failMember(u"HWND", status::CallRejected);
    monitor.Timer1Timer();
    EXPECT_EQ(panel.closeRequests, 1);
}

TEST_F(CadMonitorTest, AnUnconvertibleHandleAfterASightingClosesThePanel) {
    monitor.Timer1Timer();
    cad.setHwnd(std::u16string(u"none"));
    monitor.Timer1Timer();
    EXPECT_EQ(panel.closeRequests, 1);
}

TEST_F(CadMonitorTest, ACadQuittingBetweenCheckAndAttachAfterASightingClosesThePanel) {
    monitor.Timer1Timer();
    runtime.failOn("GetActiveObject", status::NotRunning, 1);
    monitor.Timer1Timer();
    EXPECT_EQ(panel.closeRequests, 1);
}

TEST_F(CadMonitorTest, AWindowSystemFailureOutsideTheInnerGuardSkipsTheSighting) {
    windows.failOn("ImmGetDefaultIMEWnd");
    monitor.Timer1Timer();
    EXPECT_EQ(panel.lamp, LampLime);
    EXPECT_FALSE(panel.seen);
    EXPECT_EQ(panel.closeRequests, 0);
}

// A CAD that runs but leaves a call unanswered is busy: the tick changes
// nothing, and the CAD is called again on every fifth tick until it answers.
class BusyCadTest : public CadMonitorTest {
protected:
    // A tick that sees the CAD, then one whose HWND call goes unanswered.
    BusyCadTest() {
        monitor.Timer1Timer();
        cad.application->failMember(u"HWND", status::Busy);
        monitor.Timer1Timer();
    }

    std::size_t handleReads() const { return log->count("app.Invoke(HWND"); }

    void ticks(int count) {
        for (int tick = 0; tick < count; ++tick) {
            monitor.Timer1Timer();
        }
    }
};

TEST_F(BusyCadTest, LeavesLampSightingAndPanelAsTheyWere) {
    EXPECT_EQ(panel.lamp, LampLime);
    EXPECT_EQ(panel.lampSets, 1);
    EXPECT_TRUE(panel.seen);
    EXPECT_EQ(panel.closeRequests, 0);
}

TEST_F(BusyCadTest, OnlyTheRunningCheckIsMadeForFourTicksAndTheFifthCallsAgain) {
    const std::size_t readsBefore = handleReads();
    const std::size_t lookupsBefore = log->count("GetActiveObject");
    ticks(4);
    EXPECT_EQ(handleReads(), readsBefore);
    EXPECT_EQ(log->count("GetActiveObject"), lookupsBefore + 4);
    ticks(1);
    EXPECT_EQ(handleReads(), readsBefore + 1);
}

TEST_F(BusyCadTest, ACadThatQuitsMeanwhileClosesThePanelAtTheNextTick) {
    runtime.setRunning("{CAD}", nullptr);
    monitor.Timer1Timer();
    EXPECT_EQ(panel.closeRequests, 1);
}

TEST_F(BusyCadTest, OnceTheCadAnswersEveryTickCallsItAgain) {
    cad.setHwnd(fake::FakeCad::DefaultWindow);
    ticks(5);
    const std::size_t readsAfterAnswer = handleReads();
    ticks(3);
    EXPECT_EQ(handleReads(), readsAfterAnswer + 3);
}

TEST_F(CadMonitorTest, ABusyStateMemberGoesOnWithTheTickAndBacksOff) {
    cad.application->failMember(u"GetAcadState", status::Busy);
    monitor.Timer1Timer();
    EXPECT_TRUE(panel.seen);
    monitor.Timer1Timer();
    EXPECT_EQ(log->count("app.Invoke(HWND"), 1U);
    EXPECT_EQ(panel.closeRequests, 0);
}

struct StateMemberCase {
    const char* progId;
    const char* member;
};

class StateMemberTest : public CadMonitorTest,
                        public ::testing::WithParamInterface<StateMemberCase> {};

TEST_P(StateMemberTest, IsChosenFromTheTarget) {
    std::u16string target(GetParam().progId,
                          GetParam().progId + std::char_traits<char>::length(GetParam().progId));
    cad.runIn(runtime, target, "{TARGET}");
    progId = target;
    monitor.Timer1Timer();
    EXPECT_EQ(
        log->matching("app.Invoke(Get"),
        std::vector<std::string>{std::string("app.Invoke(") + GetParam().member + ",3,want)"});
    EXPECT_EQ(toUtf8(chooseStateMember(target)), GetParam().member);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StateMemberTest,
    ::testing::Values(StateMemberCase{"BricscadApp.AcadApplication", "GetAcadState"},
                      StateMemberCase{"Gcad.Application.23", "GetGcadState"},
                      StateMemberCase{"Gcad.Application.22", "GetGcadState"},
                      StateMemberCase{"Gcad.ZWCAD.Application.23", "GetGcadState"},
                      StateMemberCase{"GcadApp.Application", "GetGcadState"},
                      StateMemberCase{"Gcad.ZWCAD.Application", "GetGcadState"},
                      StateMemberCase{"Gcad.Application.-5", "GetGcadState"},
                      StateMemberCase{"Gcad.Application.24", "GetAcadState"},
                      StateMemberCase{"Gcad.Application.99", "GetAcadState"},
                      StateMemberCase{"Gcad.ZWCAD.Application.24", "GetZcadState"},
                      StateMemberCase{"Gcad.Application.1F", "GetGcadState"},
                      StateMemberCase{"Gcad.Application.$F", "GetGcadState"},
                      StateMemberCase{"Gcad.Application. 9", "GetGcadState"},
                      StateMemberCase{"ZWCAD.Application.2024", "GetZcadState"},
                      StateMemberCase{"ZWCAD.Application.22", "GetZcadState"},
                      StateMemberCase{"gcad.Application.22", "GetAcadState"},
                      StateMemberCase{"zwcad.Application", "GetAcadState"}));

}  // namespace
}  // namespace orvane::cadlink
