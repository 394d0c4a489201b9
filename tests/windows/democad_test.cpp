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
