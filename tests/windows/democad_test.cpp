// The demo CAD itself: it starts, registers and serves under its ProgID.
#include <gtest/gtest.h>

#include "tests/windows/comtest.h"
#include "tests/windows/democadprocess.h"

namespace orvane::wintest {
namespace {

class DemoCad : public ComTest {};

TEST_F(DemoCad, LogsReadyWithItsOwnWindow) {
    DemoCadProcess demo(uniqueProgId(u"Ready"));
    ASSERT_TRUE(demo.waitReady());
    ASSERT_TRUE(IsWindow(demo.window()));
    DWORD owner = 0;
    GetWindowThreadProcessId(demo.window(), &owner);
    EXPECT_EQ(owner, demo.processId());
}

TEST_F(DemoCad, MinimizedStartsWithItsWindowIconic) {
    DemoCadProcess demo(uniqueProgId(u"Minimized"), {u"--minimized"});
    ASSERT_TRUE(demo.waitReady());
    EXPECT_TRUE(IsIconic(demo.window()));
}

TEST_F(DemoCad, RegisterAloneLeavesTheProgIdResolvableButNothingRunning) {
    const std::u16string progId = uniqueProgId(u"Registered");
    ASSERT_EQ(registerDemoCad(progId), 0u);
    CLSID classId{};
    ASSERT_EQ(CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId.c_str()), &classId), S_OK);
    IUnknown* running = nullptr;
    EXPECT_EQ(GetActiveObject(classId, nullptr, &running), MK_E_UNAVAILABLE);
    EXPECT_EQ(running, nullptr);
}

TEST_F(DemoCad, RunningObjectResolvesHwnd) {
    DemoCadProcess demo(uniqueProgId(u"Hwnd"));
    ASSERT_TRUE(demo.waitReady());
    DispatchRef application;
    ASSERT_EQ(attach(demo.progId(), application), S_OK);
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(dispatchId(application.object, u"HWND", id), S_OK);
    EXPECT_NE(id, DISPID_UNKNOWN);
}

TEST_F(DemoCad, RunningObjectRefusesAnUnknownName) {
    DemoCadProcess demo(uniqueProgId(u"Unknown"));
    ASSERT_TRUE(demo.waitReady());
    DispatchRef application;
    ASSERT_EQ(attach(demo.progId(), application), S_OK);
    DISPID id = 0;
    EXPECT_EQ(dispatchId(application.object, u"NoSuchMember", id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
}

TEST_F(DemoCad, ClosingEndsItAndLeavesNothingRunning) {
    DemoCadProcess demo(uniqueProgId(u"Close"));
    ASSERT_TRUE(demo.waitReady());
    EXPECT_EQ(demo.close(), 0u);
    DispatchRef application;
    EXPECT_EQ(attach(demo.progId(), application), MK_E_UNAVAILABLE);
}

TEST_F(DemoCad, QuitsAfterTheGivenTime) {
    DemoCadProcess demo(uniqueProgId(u"QuitAfter"), {u"--quit-after", u"1"});
    ASSERT_TRUE(demo.waitReady());
    EXPECT_EQ(WaitForSingleObject(demo.processHandle(), static_cast<DWORD>(demoCadDeadline.count())), WAIT_OBJECT_0);
}

TEST_F(DemoCad, MistakeOnTheCommandLineExitsWithTwo) {
    DemoCadProcess demo(uniqueProgId(u"Mistake"), {u"--property", u"X=i4:many"});
    EXPECT_EQ(WaitForSingleObject(demo.processHandle(), static_cast<DWORD>(demoCadDeadline.count())), WAIT_OBJECT_0);
    EXPECT_EQ(demo.close(), 2u);
    EXPECT_NE(demo.output().find("many"), std::string::npos) << demo.output();
}

}  // namespace
}  // namespace orvane::wintest
