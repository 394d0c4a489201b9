#include <gtest/gtest.h>

#include "core/tests/scratch_dir.h"
#include "ui/panelform.h"

namespace orvane::ui {
namespace {

// A window that only remembers what the logic asked of it.
class FakePanelWindow final : public PanelView, public PanelHost {
public:
    bool windowShown() const override { return shown; }
    bool windowMinimised() const override { return minimised; }
    bool windowMaximised() const override { return maximised; }
    void leaveMaximised() override { calls.emplace_back("leaveMaximised"); }
    Bounds outerBounds() const override { return bounds; }
    void applyOuterBounds(const Bounds& taken) override { bounds = taken; }
    void cancelModalWindows() override { calls.emplace_back("cancelModalWindows"); }
    void closeWindow() override { calls.emplace_back("closeWindow"); }
    void showError(std::u16string_view, std::u16string_view text) override { errors.emplace_back(text); }

    Size currentSize() const override { return {bounds.width, bounds.height}; }
    Size primaryScreenSize() const override { return {1280, 1024}; }
    void SetTopMost(bool) override {}
    void processPendingMessages() override {}

    bool shown = true;
    bool minimised = false;
    bool maximised = false;
    Bounds bounds{10, 20, 467, 70};
    std::vector<std::string> calls;
    std::vector<std::u16string> errors;
};

struct PanelFormLogicTest : ::testing::Test {
    testing::ScratchDir directory;
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
