#include <gtest/gtest.h>

#include "core/tests/scratch_dir.h"
#include "ui/panelform.h"
#include "ui/tests/fakepanelwindow.h"

namespace orvane::ui {
namespace {

using testing::FakePanelWindow;

struct PanelFormLogicTest : ::testing::Test {
    orvane::testing::ScratchDir directory;
    FakePanelWindow window;
    PanelCore core{(directory.path() / "Orvane").u16string(), window, {}, [](const Error&) {}};
    PanelFormLogic logic{window, core};
    const Bounds normal{10, 20, 467, 70};

    PanelFormLogicTest() { core.state().setBounds(normal); }
};

TEST_F(PanelFormLogicTest, MinimisedWindowKeepsItsNormalBoundsInTheState) {
    window.minimised = true;
    window.bounds = {0, 990, 160, 30};
    logic.boundsReported();
    EXPECT_EQ(core.state().bounds(), normal);
}

TEST_F(PanelFormLogicTest, MaximisedWindowIsSentBackWithoutItsBoundsTaken) {
    window.maximised = true;
    window.bounds = {0, 0, 1280, 1024};
    logic.boundsReported();
    EXPECT_EQ(window.calls, std::vector<std::string>{"leaveMaximised"});
    EXPECT_EQ(core.state().bounds(), normal);
}

TEST_F(PanelFormLogicTest, ClosingTheProgramCancelsModalWindowsFirst) {
    logic.closeProgram();
    EXPECT_EQ(window.calls, (std::vector<std::string>{"cancelModalWindows", "closeWindow"}));
}

TEST_F(PanelFormLogicTest, ChooserEventWithoutAnEntryIsIgnored) {
    logic.ComboBox1Change(-1);
    EXPECT_TRUE(window.errors.empty());
}

TEST_F(PanelFormLogicTest, MonitorLampAndCadSeenReachTheCore) {
    cadlink::MonitoredPanel& monitored = logic;
    monitored.setLampColour(cadlink::LampLime);
    monitored.setCadSeen(true);
    EXPECT_EQ(core.state().shape1Fill(), kLampLime);
    EXPECT_TRUE(core.shared().CADSeen);
}

}  // namespace
}  // namespace orvane::ui
