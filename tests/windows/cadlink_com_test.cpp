// The CAD link's COM backend against the Windows demo CAD, a server in a
// process of its own.
#include "cadlink/messagefilter.h"
#include "tests/windows/cadlinktest.h"

namespace orvane::wintest {
namespace {

using cadlink::AutomationError;
using cadlink::variantToBool;
using cadlink::variantToInt64;
using cadlink::variantToObject;
using cadlink::variantToText;
namespace status = cadlink::status;

std::int32_t failureCode(const std::function<void()>& step) {
    try {
        step();
    } catch (const AutomationError& error) {
        return error.code();
    }
    return 0;
}

using CadLookup = CadLinkTest;

TEST_F(CadLookup, UnregisteredProgIdIsNotRunning) {
    try {
        runtime_.CLSIDFromProgID(target_);
        ADD_FAILURE() << "found";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.code(), status::ClassNotRegistered);
        EXPECT_STRNE(error.what(), "");
    }
    EXPECT_FALSE(connection_.IsTargetCADRunning());
}

TEST_F(CadLookup, RegisteredButNotRunningIsNotRunning) {
    ASSERT_EQ(registerDemoCad(target_), 0u);
    const cadlink::ClassId classId = runtime_.CLSIDFromProgID(target_);
    EXPECT_EQ(failureCode([&] { runtime_.GetActiveObject(classId); }), status::NotRunning);
    EXPECT_FALSE(connection_.IsTargetCADRunning());
}

TEST_F(CadLookup, RunningCadIsAttachedWithItsWindow) {
    DemoCadProcess cad(target_);
    ASSERT_TRUE(cad.waitReady());
    EXPECT_TRUE(connection_.IsTargetCADRunning());
    EXPECT_EQ(connection_.ReadCADWindowHandle(attach()), static_cast<cadlink::WindowHandle>(cad.windowValue()));
}

using CadMembers = CadLinkTest;

TEST_F(CadMembers, FullNameAndPathNameTheCadsExecutable) {
    DemoCadProcess cad(target_);
    ASSERT_TRUE(cad.waitReady());
    const auto application = attach();
    const std::u16string fullName = variantToText(read(application, u"FullName"));
    const std::u16string path = variantToText(read(application, u"Path"));
    EXPECT_EQ(fullName, demoCadPath().u16string());
    EXPECT_EQ(path, demoCadPath().parent_path().u16string());
}

TEST_F(CadMembers, StateMembersAnswerWhetherTheCadIsIdle) {
    DemoCadProcess idle(target_);
    ASSERT_TRUE(idle.waitReady());
    for (const char16_t* member : {u"GetAcadState", u"GetGcadState", u"GetZcadState"}) {
        const auto state = variantToObject(read(attach(), member));
        EXPECT_TRUE(variantToBool(read(state, u"IsQuiescent"))) << std::string(member, member + 12);
    }
    idle.close();
    DemoCadProcess busy(target_, {u"--not-quiescent"});
    ASSERT_TRUE(busy.waitReady());
    const auto state = variantToObject(read(attach(), u"GetAcadState"));
    EXPECT_FALSE(variantToBool(read(state, u"IsQuiescent")));
}

TEST_F(CadMembers, UnknownMemberFailsWithUnknownName) {
    DemoCadProcess cad(target_, {u"--lack", u"HWND"});
    ASSERT_TRUE(cad.waitReady());
    const auto application = attach();
    EXPECT_EQ(failureCode([&] { read(application, u"NoSuchMember"); }), status::UnknownName);
    EXPECT_EQ(failureCode([&] { connection_.ReadCADWindowHandle(application); }), status::UnknownName);
}

TEST_F(CadMembers, ExceptionKeepsItsStatusAndDescription) {
    DemoCadProcess cad(target_, {u"--fail", u"FullName=0x80004005:Out of paper"});
    ASSERT_TRUE(cad.waitReady());
    try {
        read(attach(), u"FullName");
        ADD_FAILURE() << "the call did not fail";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.code(), status::Exception);
        EXPECT_NE(std::string(error.what()).find("Out of paper"), std::string::npos) << error.what();
    }
}

// A result of each automation type, as the standard rules convert it.
TEST_F(CadMembers, ResultsOfEveryTypeConvertByTheStandardRules) {
    DemoCadProcess cad(target_, {u"--property", u"Small=i2:-5", u"--property", u"Big=ui8:18446744073709551615",
                                 u"--property", u"Money=cy:12.5", u"--property", u"Text=bstr:42",
                                 u"--property", u"When=date:45000.75", u"--property", u"Flag=bool:true",
                                 u"--property", u"Nothing=null", u"--property", u"Blank=empty",
                                 u"--property", u"Ref=byref-i4:7", u"--property", u"Self=dispatch",
                                 u"--property", u"List=array-i4:1,2"});
    ASSERT_TRUE(cad.waitReady());
    const auto application = attach();
    EXPECT_EQ(variantToInt64(read(application, u"Small")), -5);
    EXPECT_EQ(failureCode([&] { variantToInt64(read(application, u"Big")); }), status::Overflow);
    EXPECT_EQ(variantToInt64(read(application, u"Money")), 12);
    EXPECT_EQ(variantToInt64(read(application, u"Text")), 42);
    EXPECT_EQ(variantToInt64(read(application, u"When")), 45001);
    EXPECT_EQ(variantToInt64(read(application, u"Flag")), -1);
    EXPECT_EQ(failureCode([&] { variantToInt64(read(application, u"Nothing")); }), status::TypeMismatch);
    EXPECT_EQ(variantToInt64(read(application, u"Blank")), 0);
    EXPECT_EQ(variantToInt64(read(application, u"Ref")), 7);
    EXPECT_EQ(connection_.ReadCADWindowHandle(variantToObject(read(application, u"Self"))),
              static_cast<cadlink::WindowHandle>(cad.windowValue()));
    EXPECT_EQ(failureCode([&] { read(application, u"List"); }), status::TypeMismatch);
}

using CadFilter = CadLinkTest;

TEST_F(CadFilter, PanelsFilterIsInPlaceForCallsAndRevokingPutsThePreviousBack) {
    DemoCadProcess cad(target_);
    ASSERT_TRUE(cad.waitReady());
    const auto previous = cadlink::TMessageFilter::Create(runtime_);
    previous->RegisterFilter();
    cadlink::CallRetryFilterHook hook(runtime_);
    hook.RegisterFilter();
    EXPECT_EQ(connection_.ReadCADWindowHandle(attach()), static_cast<cadlink::WindowHandle>(cad.windowValue()));
    hook.RevokeFilter();
    EXPECT_EQ(runtime_.CoRegisterMessageFilter(nullptr), previous);
}

}  // namespace
}  // namespace orvane::wintest
