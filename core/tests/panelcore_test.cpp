#include "core/panelcore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/tests/paneltestfiles.h"

namespace orvane {
namespace {

using testing::kUtf8Mark;
using testing::ProgramDirectory;

// The calls the core makes on the window, the platform and the filter, in order.
using CallLog = std::vector<std::string>;

class FakeHost : public PanelHost {
public:
    explicit FakeHost(CallLog& log) : log_(log) {}
    Size designed{483, 80};
    Size screen{800, 600};
    Size currentSize() const override { return designed; }
    Size primaryScreenSize() const override { return screen; }
    void SetTopMost(bool on) override { log_.push_back(on ? "top-most on" : "top-most off"); }
    void processPendingMessages() override { log_.push_back("pump"); }

private:
    CallLog& log_;
};

class FakeFilter : public CallRetryFilter {
public:
    FakeFilter(CallLog& log, bool failRevoke) : log_(log), failRevoke_(failRevoke) {}
    void RegisterFilter() override { log_.push_back("register"); }
    void RevokeFilter() override {
        log_.push_back("revoke");
        if (failRevoke_) {
            throw Error(u"revoke failed");
        }
    }

private:
    CallLog& log_;
    bool failRevoke_;
};

class PanelCoreTest : public ::testing::Test {
protected:
    PanelCore& started() {
        core.FormCreate();
        return core;
    }
    void writeSettings(const std::string& text) const { dir.write("Orvane.ini", text); }
    // The settings file's lines, whatever line ends it uses.
    std::vector<std::string> settingsLines() const {
        std::vector<std::string> lines;
        std::istringstream in(dir.read("Orvane.ini"));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
        }
        return lines;
    }
    std::string settingsValue(const std::string& key) const {
        for (const std::string& line : settingsLines()) {
            if (line.rfind(key + "=", 0) == 0) {
                return line.substr(key.size() + 1);
            }
        }
        return "<missing>";
    }

    ProgramDirectory dir;
    CallLog log;
    FakeHost host{log};
    bool failRevoke = false;
    std::vector<std::u16string> errors;
    PanelCore core{dir.programPath(), host,
                   [this] { return std::make_unique<FakeFilter>(log, failRevoke); },
                   [this](const Error& error) { errors.push_back(error.message()); }};
};

TEST_F(PanelCoreTest, FirstRunStartsCentredAndWritesTheSettingsFromNothing) {
    dir.write("OrvaneList.txt", "[File]\nNEW: New\n");
    dir.write("DrawList.txt", "");
    started();
    EXPECT_EQ(core.programDirectory(), dir.directory());
    EXPECT_EQ(core.state().comboBox1().entries(), (std::vector<std::u16string>{u"DrawList.txt", u"OrvaneList.txt"}));
    EXPECT_EQ(core.state().chooserSelectedText(), u"OrvaneList.txt");
    EXPECT_EQ(core.state().slots().find(101)->caption, u"NEW: New");
    EXPECT_EQ(core.state().bounds(), (Bounds{158, 260, 483, 80}));
    EXPECT_TRUE(core.state().checkBox1());
    EXPECT_EQ(core.shared().TargetProgID, u"BricscadApp.AcadApplication");
    EXPECT_EQ(core.state().caption(), u"Orvane");
    EXPECT_EQ(core.state().shape1Fill(), kLampBlack);
    EXPECT_FALSE(core.shared().CADSeen);
    EXPECT_NE(core.MessageFilter(), nullptr);
    EXPECT_EQ(log, (CallLog{"register", "top-most on", "pump"}));
    EXPECT_FALSE(std::filesystem::exists(dir.settingsFile()));

    core.FormDestroy();
    EXPECT_EQ(log.back(), "revoke");
    EXPECT_EQ(core.MessageFilter(), nullptr);
    EXPECT_EQ(settingsLines(), (std::vector<std::string>{"[MenuList]", "FileName=OrvaneList.txt", "[Form]",
                                                         "Width=483", "Height=80", "Left=158", "Top=260",
                                                         "[TargetCAD]", "ProgId=BricscadApp.AcadApplication",
                                                         "[ImeOff]", "Check=1"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(PanelCoreTest, ShutdownStoresTheStateReachedWhileRunning) {
    dir.write("AList.txt", "");
    dir.write("BList.txt", "");
    writeSettings("[MenuList]\nFileName=AList.txt\n");
    started();
    core.chooserPickedByUser(1);
    core.state().setBounds({-20, 30, 500, 90});
    core.state().setCheckBox1(false);
    core.shared().TargetProgID = u"";
    core.FormDestroy();
    EXPECT_EQ(settingsLines(), (std::vector<std::string>{"[MenuList]", "FileName=BList.txt", "[Form]",
                                                         "Width=500", "Height=90", "Left=-20", "Top=30",
                                                         "[TargetCAD]", "ProgId=", "[ImeOff]", "Check=0"}));
}

struct BoundsCase {
    const char* name;
    std::string formSection;
    Bounds expected;
};

class PanelBoundsTest : public PanelCoreTest, public ::testing::WithParamInterface<BoundsCase> {};

TEST_P(PanelBoundsTest, CentredDefaultAndPullBackAtTheRightAndBottomOnly) {
    writeSettings("[Form]\n" + GetParam().formSection);
    started();
    EXPECT_EQ(core.state().bounds(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    On800x600, PanelBoundsTest,
    ::testing::Values(
        BoundsCase{"CentredWhenMissing", "", {158, 260, 483, 80}},
        BoundsCase{"WideWindowCentredThenPulledBack", "Width=881\n", {-81, 260, 881, 80}},
        BoundsCase{"PulledBackToTheRightEdge", "Left=700\n", {317, 260, 483, 80}},
        BoundsCase{"NegativeLeftStays", "Left=-300\nTop=-5\n", {-300, -5, 483, 80}},
        BoundsCase{"NonNumberGivesTheCentredDefault", "Left=abc\nTop=\n", {158, 260, 483, 80}},
        BoundsCase{"HexWithZeroX", "Width=320\nLeft=0x1E0\n", {480, 260, 320, 80}},
        BoundsCase{"HexWithDollar", "Width=320\nLeft=$1E0\n", {480, 260, 320, 80}},
        BoundsCase{"BlanksAroundTheValue", "Width=320\nLeft=  480  \n", {480, 260, 320, 80}},
        BoundsCase{"EqualityLeavesTheEdges", "Left=317\nTop=520\n", {317, 520, 483, 80}},
        BoundsCase{"PulledBackAtTheBottom", "Height=100\nTop=590\n", {158, 500, 483, 100}},
        BoundsCase{"CentredOnTheSizeRead", "Width=200\nHeight=200\n", {300, 200, 200, 200}},
        BoundsCase{"ExtremeValuesDoNotOverflow", "Width=2147483647\nLeft=2147483647\n",
                   {-2147482847, 260, 2147483647, 80}}),
    [](const auto& info) { return std::string(info.param.name); });

struct CheckCase {
    const char* name;
    std::string imeOffSection;
    bool checked;
};

class PanelCheckTest : public PanelCoreTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(PanelCheckTest, OnlyAZeroUnticksTheBox) {
    writeSettings("[ImeOff]\n" + GetParam().imeOffSection);
    started();
    EXPECT_EQ(core.state().checkBox1(), GetParam().checked);
}

INSTANTIATE_TEST_SUITE_P(Flags, PanelCheckTest,
                         ::testing::Values(CheckCase{"Zero", "Check=0\n", false},
                                           CheckCase{"Two", "Check=2\n", true},
                                           CheckCase{"False", "Check=False\n", true},
                                           CheckCase{"Empty", "Check=\n", true},
                                           CheckCase{"Missing", "", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelCoreTest, EmptyFileNameSelectsAndLoadsNothing) {
    dir.write("OrvaneList.txt", "[File]\n");
    writeSettings("[MenuList]\nFileName=\n");
    started();
    EXPECT_EQ(core.state().comboBox1().selectedIndex(), std::nullopt);
    EXPECT_EQ(core.state().slots().find(100)->caption, u"100");
    EXPECT_TRUE(core.state().slots().find(1530)->visible);
}

TEST_F(PanelCoreTest, ListWhoseNameIsNoUtf8LoadsWhenPickedAndAfterARestart) {
    dir.write("OrvaneList.txt", "");
    dir.write("caf\xE9List.txt", "[Latin-1]\n");
    started();
    core.chooserPickedByUser(0);
    EXPECT_EQ(core.state().slots().find(100)->caption, u"Latin-1");
    core.FormDestroy();

    PanelCore restarted(dir.programPath(), host, {}, {});
    restarted.FormCreate();
    EXPECT_EQ(restarted.state().comboBox1().selectedIndex(), std::optional<std::size_t>(0));
    EXPECT_EQ(restarted.state().slots().find(100)->caption, u"Latin-1");
}

TEST_F(PanelCoreTest, FileNameOutsideTheChooserIsLoadedButNotSelected) {
    dir.write("OrvaneList.txt", "");
    for (const char* name : {"sub/AList.txt", "Other.txt"}) {
        dir.write(name, std::string("[") + name + "]\n");
    }
    for (const char* name : {"sub/AList.txt", "Other.txt"}) {
        writeSettings(std::string("[MenuList]\nFileName=") + name + "\n");
        PanelCore panel(dir.programPath(), host, {}, {});
        panel.FormCreate();
        EXPECT_EQ(panel.state().comboBox1().selectedIndex(), std::nullopt) << name;
        EXPECT_EQ(panel.state().slots().find(100)->caption, fromUtf8(name));
        panel.FormDestroy();
        EXPECT_EQ(settingsValue("FileName"), "") << name;
    }
}

TEST_F(PanelCoreTest, FileNameMatchesAChooserEntryIgnoringCase) {
    dir.write("DrawList.txt", "");
    dir.write("OrvaneList.txt", "");
    writeSettings("[MenuList]\nFileName=orvanelist.TXT\n");
    started();
    EXPECT_EQ(core.state().comboBox1().selectedIndex(), 1u);
}

TEST_F(PanelCoreTest, ProgIdFromTheSettingsIsLookedUp) {
    dir.write("TargetCAD_APIVersion.txt", "Other\tOther.Application\r\nMine\tMy.Application\r\n");
    writeSettings("[TargetCAD]\nProgId=My.Application\n");
    started();
    EXPECT_EQ(core.shared().TargetProgID, u"My.Application");
    EXPECT_EQ(core.shared().TargetCADName, u"Mine");
    EXPECT_EQ(core.state().caption(), u" [ Mine ]");
}

struct CaptionCase {
    const char* name;
    std::string listText;
    std::string targetList;
    std::u16string caption;
};

class PanelCaptionTest : public PanelCoreTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(PanelCaptionTest, ComposedFromTitleAndLabel) {
    dir.write("OrvaneList.txt", kUtf8Mark + GetParam().listText);
    dir.write("TargetCAD_APIVersion.txt", GetParam().targetList);
    started();
    EXPECT_EQ(core.state().caption(), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    TitleAndLabel, PanelCaptionTest,
    ::testing::Values(
        CaptionCase{"Neither", "[M]\n", "L\tOther\n", u"Orvane"},
        CaptionCase{"TitleOnly", "CAPTION_: 図面\n", "", u"図面 [  ]"},
        CaptionCase{"LabelOnly", "[M]\n", "L\tBricscadApp.AcadApplication\n", u" [ L ]"},
        CaptionCase{"Both", "CAPTION_: 図面\n", "L\tBricscadApp.AcadApplication\n", u"図面 [ L ]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelCoreTest, TitleShowsBeforeTheLabelIsLookedUp) {
    class Captions : public PanelObserver {
    public:
        explicit Captions(const PanelState& state) : state_(state) {}
        void captionChanged() override { seen.push_back(state_.caption()); }
        std::vector<std::u16string> seen;

    private:
        const PanelState& state_;
    } captions(core.state());
    core.state().addObserver(&captions);
    dir.write("OrvaneList.txt", "CAPTION_: T\n");
    dir.write("TargetCAD_APIVersion.txt", "L\tBricscadApp.AcadApplication\n");
    started();
    EXPECT_EQ(captions.seen, (std::vector<std::u16string>{u"T [  ]", u"T [ L ]"}));
    core.state().removeObserver(&captions);
}

TEST_F(PanelCoreTest, ChooserChangeLoadsTheSelectedListAndKeepsTheTitle) {
    dir.write("AList.txt", "CAPTION_: A\n[A]\na\n");
    dir.write("BList.txt", "[B]\nb\n");
    writeSettings("[MenuList]\nFileName=AList.txt\n");
    started();
    core.setTargetCADName(u"Plant CAD");
    EXPECT_EQ(core.state().caption(), u"A [ Plant CAD ]");
    core.chooserPickedByUser(1);
    EXPECT_EQ(core.state().slots().find(100)->caption, u"B");
    EXPECT_EQ(core.state().caption(), u"A [ Plant CAD ]");

    std::filesystem::remove(dir.path() / "AList.txt");
    core.chooserPickedByUser(0);
    EXPECT_EQ(core.state().chooserSelectedText(), u"AList.txt");
    EXPECT_EQ(core.state().slots().find(100)->caption, u"B");
}

TEST_F(PanelCoreTest, TooLongProgramDirectoryEndsStartUpAtTheListing) {
    const std::string longDirectory = std::string(250, 'd');
    std::filesystem::create_directory(dir.path() / longDirectory);
    dir.write(longDirectory + "/OrvaneList.txt", "[M]\n");
    dir.write(longDirectory + "/Orvane.ini", "[ImeOff]\nCheck=0\n");
    const std::u16string programPath = (dir.path() / longDirectory / "Orvane").u16string();
    PanelCore panel(programPath, host, [this] { return std::make_unique<FakeFilter>(log, false); },
                    [this](const Error& error) { errors.push_back(error.message()); });
    panel.FormCreate();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], u"パス " + panel.programDirectory() + u" が長すぎます");
    EXPECT_EQ(panel.shared().TargetProgID, u"BricscadApp.AcadApplication");
    EXPECT_TRUE(panel.state().checkBox1());
    EXPECT_TRUE(panel.state().comboBox1().empty());
    EXPECT_EQ(panel.state().slots().find(100)->caption, u"100");
    EXPECT_EQ(panel.MessageFilter(), nullptr);
    EXPECT_TRUE(log.empty());

    // Shutdown writes the state reached, over the settings never read.
    panel.FormDestroy();
    const std::string written = dir.read(longDirectory + "/Orvane.ini");
    EXPECT_NE(written.find("FileName=\r\n"), std::string::npos);
    EXPECT_NE(written.find("Check=1"), std::string::npos);
}

TEST_F(PanelCoreTest, UnreadableMenuListEndsStartUpThere) {
    dir.makeUnreadable("OrvaneList.txt");
    dir.write("TargetCAD_APIVersion.txt", "L\tBricscadApp.AcadApplication\n");
    writeSettings("[ImeOff]\nCheck=0\n");
    started();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind(u"ファイル " + dir.directory() + u"OrvaneList.txt は開けません。 ", 0), 0u);
    EXPECT_EQ(core.state().chooserSelectedText(), u"OrvaneList.txt");
    EXPECT_FALSE(core.state().checkBox1());
    EXPECT_FALSE(core.state().slots().find(100)->visible);
    EXPECT_EQ(core.shared().TargetCADName, u"");
    EXPECT_EQ(core.state().caption(), u"Orvane");
    EXPECT_TRUE(log.empty());
}

TEST_F(PanelCoreTest, RefusedSettingsWriteIsReportedAndTheFileKept) {
    const std::string old = "[Form]\nWidth=300\n";
    writeSettings(old);
    std::filesystem::permissions(dir.settingsFile(), std::filesystem::perms::owner_read);
    started();
    core.FormDestroy();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], fromUtf8(dir.settingsFile().string()) + u" に書き込めません");
    EXPECT_EQ(dir.read("Orvane.ini"), old);
}

TEST_F(PanelCoreTest, FailingRevokeIsDiscardedAndTheWritesGoOn) {
    failRevoke = true;
    started();
    core.FormDestroy();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(settingsValue("Check"), "1");
}

}  // namespace
}  // namespace orvane
