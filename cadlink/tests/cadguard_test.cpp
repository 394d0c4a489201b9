#include "cadlink/cadguard.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "cadlink/tests/cadworld.h"

namespace orvane::cadlink {
namespace {

using testing::CadWorld;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CadGuardTest : public ::testing::Test, protected CadWorld {
protected:
    CadGuard guard{connection};
};

TEST_F(CadGuardTest, NothingRunsWhenTheTargetIsNotRunning) {
    progId = u"Nobody.Application";
    bool ran = false;
    guard.runGuarded([&](CadSession&) { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_THAT(log->entries(), ElementsAre("CLSIDFromProgID(Nobody.Application)"));
}

TEST_F(CadGuardTest, OnePassLooksTheCadUpTwiceThenRunsTheSteps) {
    guard.runGuarded([](CadSession& session) {
        session.BringCADToFront();
        session.SendCADCommand(u"_LINE\r");
    });
    ASSERT_GT(log->entries().size(), 5U);
    EXPECT_THAT(
        std::vector(log->entries().begin(), log->entries().begin() + 5),
        ElementsAre("CLSIDFromProgID(BricscadApp.AcadApplication)", "GetActiveObject({CAD})",
                    "CLSIDFromProgID(BricscadApp.AcadApplication)", "GetActiveObject({CAD})",
                    "app.GetIDsOfNames(HWND)"));
    EXPECT_EQ(log->count("GetActiveObject"), 2U);
    EXPECT_EQ(log->count("keybd_event"), 2U);
    EXPECT_THAT(cad.sentCommands(), ElementsAre(u"_LINE\r"));
}

TEST_F(CadGuardTest, TheTargetIsReadAfreshOnEveryPass) {
    fake::FakeCad other(log);
    other.runIn(runtime, u"Other.Application", "{OTHER}");
    guard.runGuarded([](CadSession& session) { session.SendCADCommand(u"FIRST\r"); });
    progId = u"Other.Application";
    guard.runGuarded([](CadSession& session) { session.SendCADCommand(u"SECOND\r"); });
    EXPECT_THAT(cad.sentCommands(), ElementsAre(u"FIRST\r"));
    EXPECT_THAT(other.sentCommands(), ElementsAre(u"SECOND\r"));
}

TEST_F(CadGuardTest, AFailureStopsTheStepsAndLeavesEarlierOnesDone) {
    cad.application->removeMember(u"ActiveDocument");
    bool reachedAfterFailure = false;
    EXPECT_NO_THROW(guard.runGuarded([&](CadSession& session) {
        session.BringCADToFront();
        session.SendCADCommand(u"_LINE\r");
        reachedAfterFailure = true;
    }));
    EXPECT_FALSE(reachedAfterFailure);
    EXPECT_EQ(log->count("keybd_event"), 2U);
    EXPECT_EQ(windows.GetForegroundWindow(), testing::CadWindow);
    EXPECT_THAT(cad.sentCommands(), IsEmpty());
}

TEST_F(CadGuardTest, ACadThatQuitsBeforeTheAttachIsDiscarded) {
    runtime.failOn("GetActiveObject", status::NotRunning, 1);
    bool ran = false;
    EXPECT_NO_THROW(guard.runGuarded([&](CadSession&) { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_EQ(log->count("GetActiveObject"), 2U);
}

TEST_F(CadGuardTest, EveryKindOfFailureIsDiscarded) {
    EXPECT_NO_THROW(guard.runGuarded([](CadSession&) { throw std::runtime_error("steps"); }));
    EXPECT_NO_THROW(guard.runGuarded([](CadSession&) { throw 42; }));
    EXPECT_NO_THROW(
        guard.runGuarded([](CadSession&) { throw AutomationError(status::CallRejected, "busy"); }));
}

TEST_F(CadGuardTest, TextMembersAreReadAsText) {
    cad.application->setValue(u"Build", std::int64_t{2025});
    std::u16string fullName;
    std::u16string path;
    std::u16string build;
    guard.runGuarded([&](CadSession& session) {
        fullName = session.ReadTextMember(u"FullName");
        path = session.ReadTextMember(u"Path");
        build = session.ReadTextMember(u"Build");
    });
    EXPECT_EQ(fullName, u"C:\\Program Files\\FakeCAD\\fakecad.exe");
    EXPECT_EQ(path, u"C:\\Program Files\\FakeCAD");
    EXPECT_EQ(build, u"2025");
}

TEST_F(CadGuardTest, AnObjectWhereTextIsExpectedEndsTheSteps) {
    cad.application->setValue(u"FullName", ObjectRef(cad.document));
    bool reachedAfterFailure = false;
    guard.runGuarded([&](CadSession& session) {
        session.ReadTextMember(u"FullName");
        reachedAfterFailure = true;
    });
    EXPECT_FALSE(reachedAfterFailure);
}

TEST_F(CadGuardTest, ObjectsObtainedInAPassAreReleasedAfterIt) {
    std::weak_ptr<fake::FakeAutomationObject> document;
    cad.application->setMember(u"ActiveDocument", [&document, this](const auto&) -> Variant {
        auto fresh = std::make_shared<fake::FakeAutomationObject>("doc", log);
        fresh->setValue(u"SendCommand", Variant{});
        document = fresh;
        return ObjectRef(fresh);
    });
    const long applicationUsesBefore = cad.application.use_count();
    guard.runGuarded([&](CadSession& session) {
        session.SendCADCommand(u"_LINE\r");
        EXPECT_GT(cad.application.use_count(), applicationUsesBefore);
    });
    EXPECT_TRUE(document.expired());
    EXPECT_EQ(cad.application.use_count(), applicationUsesBefore);
}

}  // namespace
}  // namespace orvane::cadlink
