#include "core/menucommands.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "core/tests/menucommandfakes.h"
#include "core/tests/paneltestfiles.h"
#include "core/tests/quiethost.h"
#include "core/utf.h"

namespace orvane {
namespace {

using testing::CommandLog;
using testing::FakeCadAccess;
using testing::FakeCommandWindows;
using testing::kUtf8Mark;
using testing::ProgramDirectory;
using testing::QuietHost;

// The CAD's executable and folders as each system writes them, and a
// relative path that names a folder.
#ifdef _WIN32
constexpr char16_t kCadExecutable[] = u"C:\\CAD\\bricscad.exe";
constexpr char16_t kCadFolder[] = u"C:\\CAD";
constexpr char16_t kCadFolderWithSeparator[] = u"C:\\CAD\\";
constexpr char16_t kRelativeLisp[] = u"lisp\\draw.lsp";
#else
constexpr char16_t kCadExecutable[] = u"/opt/cad/bricscad";
constexpr char16_t kCadFolder[] = u"/opt/cad";
constexpr char16_t kCadFolderWithSeparator[] = u"/opt/cad/";
constexpr char16_t kRelativeLisp[] = u"lisp/draw.lsp";
#endif

std::u16string appPathBox() { return u"box[ 情報] " + std::u16string(kCadExecutable); }

// Counts every change the slots report, to tell how many loads ran.
class SlotChangeCounter : public PanelObserver {
public:
    void slotChanged(int) override { ++changes; }
    int changes = 0;
};

class MenuCommandsTest : public ::testing::Test {
protected:
    // The program directory holds OrvaneList.txt (selected at start-up) with
    // the given text and DrawList.txt with one drop-down "Draw".
    void start(const std::string& orvaneList) {
        dir.write("OrvaneList.txt", orvaneList);
        dir.write("DrawList.txt", "[Draw]\n_LINE: line\n");
        core.FormCreate();
        ASSERT_EQ(core.state().chooserSelectedText(), u"OrvaneList.txt");
        log.clear();
    }
    std::u16string inDir(const std::string& name) const { return dir.directory() + fromUtf8(name); }
    // The same inside a LISP string: every backslash doubled.
    std::u16string inDirInLisp(const std::string& name) const {
        std::u16string escaped;
        for (const char16_t c : inDir(name)) {
            escaped += c == u'\\' ? std::u16string(u"\\\\") : std::u16string(1, c);
        }
        return escaped;
    }
    std::u16string loadSent(const std::u16string& path) const {
        return u"send (load \"" + path + u"\")(princ)\r";
    }
    std::u16string notFoundBox(const std::u16string& path) const {
        return u"box[ 情報] " + path + u"\nファイルが見つかりません。";
    }

    ProgramDirectory dir;
    QuietHost host;
    PanelCore core{dir.programPath(), host, {}, {}};
    CommandLog log;
    FakeCadAccess cad{log};
    FakeCommandWindows windows{log};
    MenuCommands commands{core, cad, windows, u"Test build"};
};

// ---- The keyword table ----------------------------------------------------

struct CaptionCase {
    const char* name;
    std::u16string caption;
    CommandLog expected;
};

class KeywordTableTest : public MenuCommandsTest,
                         public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(KeywordTableTest, CaptionRunsItsAction) {
    start("");
    cad.fullName = kCadExecutable;
    commands.runCaption(GetParam().caption);
    EXPECT_EQ(log, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, KeywordTableTest,
    ::testing::Values(
        CaptionCase{"CadCommandSendsOnlyTheKeyword", u"_LINE: 線分", {u"front", u"send _LINE\r"}},
        CaptionCase{
            "KeywordIsTrimmedOfBlanksAndTabs", u" \t_CIRCLE\t : c", {u"front", u"send _CIRCLE\r"}},
        CaptionCase{"LaterColonsBelongToTheLabel", u"_ZOOM:E: all", {u"front", u"send _ZOOM\r"}},
        CaptionCase{"NoColonDoesNothing", u"_LINE", {}},
        CaptionCase{"BlanksBeforeTheColonDoNothing", u"   : label", {}},
        CaptionCase{"EmptyCaptionDoesNothing", u"", {}},
        CaptionCase{"LowerCaseLoadIsACadCommand", u"load_: x.lsp", {u"front", u"send load_\r"}},
        CaptionCase{"LowerCaseEscIsACadCommand", u"esc_: x", {u"front", u"send esc_\r"}},
        CaptionCase{"KeywordMustMatchWhole", u"VER_X: v", {u"front", u"send VER_X\r"}},
        CaptionCase{"VersionWithoutColonDoesNothing", u"VER_", {}},
        CaptionCase{"VersionBox",
                    u"VER_:",
                    {u"box[ バージョン情報] Orvane.exe\nVersion = 2025.02.03\nTest build"}},
        CaptionCase{"EscapeOnlyBringsToFront", u"ESC_: 中断", {u"front"}},
        CaptionCase{"ApplicationPathShownFromFullName",
                    u"APP_: where",
                    {u"read FullName", appPathBox()}}),
    [](const ::testing::TestParamInfo<CaptionCase>& info) { return info.param.name; });

TEST_F(MenuCommandsTest, CadActionsDoNothingWhileTheCadIsNotRunning) {
    start("");
    dir.write("draw.lsp", "");
    cad.running = false;
    for (const auto* caption : {u"_LINE: l", u"ESC_: e", u"APP_: a", u"LOAD_: draw.lsp"}) {
        commands.runCaption(caption);
    }
    EXPECT_EQ(cad.guardRuns, 4);
    EXPECT_TRUE(log.empty());
}

TEST_F(MenuCommandsTest, FailureInsideTheGuardLeavesEarlierStepsDone) {
    start("");
    cad.failing = {u"send"};
    commands.runCaption(u"_LINE: l");
    EXPECT_EQ(log, (CommandLog{u"front", u"discarded"}));

    log.clear();
    cad.failing = {u"front"};
    commands.runCaption(u"_LINE: l");
    EXPECT_EQ(log, (CommandLog{u"discarded"}));
}

TEST_F(MenuCommandsTest, ApplicationPathBoxIsNotShownWhenAMemberFails) {
    start("");
    cad.fullName = kCadFolderWithSeparator;
    cad.failing = {u"Path"};
    commands.runCaption(u"APP_: a");
    EXPECT_EQ(log, (CommandLog{u"read FullName", u"discarded"}));
}

TEST_F(MenuCommandsTest, ApplicationPathFallsBackToPathWhenFullNameNamesNoFile) {
    start("");
    cad.fullName = u"";
    cad.path = kCadFolder;
    commands.runCaption(u"APP_: a");
    EXPECT_EQ(log, (CommandLog{u"read FullName", u"read Path", appPathBox()}));
}

TEST_F(MenuCommandsTest, ClickReadsTheSlotCaption) {
    start("[Tools]\n_LINE: l\nVER_: v\n");
    commands.N1011Click(102);
    commands.N1011Click(131);
    commands.N1011Click(100);
    EXPECT_EQ(log,
              (CommandLog{u"box[ バージョン情報] Orvane.exe\nVersion = 2025.02.03\nTest build"}));
}

TEST_F(MenuCommandsTest, ClickOnACutCaptionSendsTheWholeKeyword) {
    const std::string keyword = "_" + std::string(400, 'K');
    start("[Tools]\n" + keyword + ": label\n");
    ASSERT_TRUE(core.state().slots().find(101)->cut);
    commands.N1011Click(101);
    EXPECT_EQ(log, (CommandLog{u"front", u"send " + fromUtf8(keyword) + u"\r"}));
}

TEST_F(MenuCommandsTest, ClickOnACutCaptionTheListNoLongerGivesDoesNothing) {
    start("[Tools]\n_" + std::string(400, 'K') + ": label\n");
    dir.write("OrvaneList.txt", "[Tools]\n_" + std::string(300, 'L') + ": other\n");
    commands.N1011Click(101);
    EXPECT_TRUE(log.empty());
}

// ---- LOAD_ ------------------------------------------------------------------

TEST_F(MenuCommandsTest, BareLispNameResolvesToTheProgramDirectory) {
    start("[Lisp]\nLOAD_: draw.lsp\n");
    dir.write("draw.lsp", "");
    commands.N1011Click(101);
    EXPECT_EQ(log, (CommandLog{u"front", loadSent(inDirInLisp("draw.lsp"))}));
}

TEST_F(MenuCommandsTest, FullPathFromTheListLineWithEveryBackslashDoubled) {
    dir.write("lisp\\draw.lsp", "");
    const std::string full = toUtf8(inDir("lisp\\draw.lsp"));
    start("[Lisp]\nLOAD_: " + full + "\n");
    ASSERT_EQ(core.state().slots().find(101)->caption, u"LOAD_: draw.lsp");
    commands.N1011Click(101);
    EXPECT_EQ(log, (CommandLog{u"front", loadSent(inDirInLisp("lisp\\draw.lsp"))}));
}

TEST_F(MenuCommandsTest, EarlierLineContainingTheNameRedirectsTheLoad) {
    dir.write("old/mydraw.lsp", "");
    start("[Lisp]\nLOAD_: " + toUtf8(inDir("old/mydraw.lsp")) + "\nLOAD_: draw.lsp\n");
    dir.write("draw.lsp", "");
    commands.N1011Click(102);
    EXPECT_EQ(log, (CommandLog{u"front", loadSent(inDirInLisp("old/mydraw.lsp"))}));
}

TEST_F(MenuCommandsTest, EarlierCommentWithAColonRedirectsTheLoad) {
    dir.write("old/draw.lsp", "");
    start("; old: " + toUtf8(inDir("old/draw.lsp")) + "\n[Lisp]\nLOAD_: draw.lsp\n");
    commands.runCaption(u"LOAD_: draw.lsp");
    EXPECT_EQ(log, (CommandLog{u"front", loadSent(inDirInLisp("old/draw.lsp"))}));
}

TEST_F(MenuCommandsTest, FirstContainingLineDecidesEvenWithoutAUsableColon) {
    dir.write("draw.lsp", "");
    dir.write("other/draw.lsp", "");
    const std::string other = toUtf8(inDir("other/draw.lsp"));
    for (const std::string firstLine : {"; draw.lsp retired", ":draw.lsp"}) {
        SCOPED_TRACE(firstLine);
        dir.write("OrvaneList.txt", firstLine + "\n[Lisp]\nLOAD_: " + other + "\n");
        log.clear();
        commands.runCaption(u"LOAD_: draw.lsp");
        EXPECT_EQ(log, (CommandLog{u"front", loadSent(inDirInLisp("draw.lsp"))}));
    }
}

TEST_F(MenuCommandsTest, ListLinesAreUntrimmedAndTheNameIsTrimmed) {
    dir.write("lisp/draw.lsp", "");
    start("[Lisp]\n\tLOAD_ :   " + toUtf8(inDir("lisp/draw.lsp")) + " \t\n");
    commands.runCaption(u"LOAD_: draw.lsp");
    EXPECT_EQ(log, (CommandLog{u"front", loadSent(inDirInLisp("lisp/draw.lsp"))}));
}

TEST_F(MenuCommandsTest, ListIsReadAnewAtEachClick) {
    // Folders joined as this system does, so that the caption keeps only
    // the file name.
    const std::string a = (std::filesystem::path("a") / "draw.lsp").string();
    const std::string b = (std::filesystem::path("b") / "draw.lsp").string();
    dir.write(a, "");
    dir.write(b, "");
    start("[Lisp]\nLOAD_: " + toUtf8(inDir(a)) + "\n");
    dir.write("OrvaneList.txt", "[Lisp]\nLOAD_: " + toUtf8(inDir(b)) + "\n");
    commands.N1011Click(101);
    EXPECT_EQ(log, (CommandLog{u"front", loadSent(inDirInLisp(b))}));
}

TEST_F(MenuCommandsTest, WithoutASelectedListTheNameStaysBare) {
    start("");
    dir.write("draw.lsp", "");
    dir.write("old/draw.lsp", "");
    dir.write("OrvaneList.txt", "LOAD_: " + toUtf8(inDir("old/draw.lsp")) + "\n");
    core.state().selectChooserEntry(std::nullopt);
    commands.runCaption(u"LOAD_: draw.lsp");
    EXPECT_EQ(log, (CommandLog{u"front", loadSent(inDirInLisp("draw.lsp"))}));
}

TEST_F(MenuCommandsTest, MissingLispFileShowsTheResolvedPathWhetherOrNotTheCadRuns) {
    start("[Lisp]\nLOAD_: " + toUtf8(kRelativeLisp) + "\n");
    for (const bool running : {true, false}) {
        cad.running = running;
        log.clear();
        commands.runCaption(u"LOAD_: missing.lsp");
        commands.runCaption(u"LOAD_: draw.lsp");
        EXPECT_EQ(log,
                  (CommandLog{notFoundBox(inDir("missing.lsp")), notFoundBox(kRelativeLisp)}));
    }
    EXPECT_EQ(cad.guardRuns, 0);
}

TEST_F(MenuCommandsTest, EmptyLispNameResolvesToTheProgramDirectoryItself) {
    start("[Lisp]\nLOAD_:\n");
    commands.N1011Click(101);
    EXPECT_EQ(log, (CommandLog{notFoundBox(dir.directory())}));
}

// FIFOs, and file names holding a double quote, exist on POSIX only.
#ifndef _WIN32
TEST_F(MenuCommandsTest, FifoAsTheLispFileShowsTheNotFoundBox) {
    start("");
    ASSERT_EQ(mkfifo(toUtf8(inDir("draw.lsp")).c_str(), 0666), 0);
    commands.runCaption(u"LOAD_: draw.lsp");
    EXPECT_EQ(log, (CommandLog{notFoundBox(inDir("draw.lsp"))}));
    EXPECT_EQ(cad.guardRuns, 0);
}

TEST_F(MenuCommandsTest, DoubleQuoteInTheNameCannotEndTheLispString) {
    dir.write("say\"hi\".lsp", "");
    start("[Lisp]\nLOAD_: say\"hi\".lsp\n");
    commands.N1011Click(101);
    EXPECT_EQ(log, (CommandLog{u"front", loadSent(inDirInLisp("") + u"say\\\"hi\\\".lsp")}));
}
#endif

TEST_F(MenuCommandsTest, UnreadableListEndsTheClickWithItsError) {
    start("[Lisp]\nLOAD_: draw.lsp\n");
    std::filesystem::remove(dir.path() / "OrvaneList.txt");
    dir.makeUnreadable("OrvaneList.txt");
    EXPECT_THROW(commands.N1011Click(101), Error);
    EXPECT_TRUE(log.empty());
}

struct LispCase {
    std::u16string name;
    std::u16string expression;
};

class LispExpressionTest : public ::testing::TestWithParam<LispCase> {};

TEST_P(LispExpressionTest, NameStaysOneLispString) {
    EXPECT_EQ(lispLoadExpression(GetParam().name), GetParam().expression);
}

INSTANTIATE_TEST_SUITE_P(
    Names, LispExpressionTest,
    ::testing::Values(LispCase{u"C:\\lisp\\draw.lsp", u"(load \"C:\\\\lisp\\\\draw.lsp\")(princ)"},
                      LispCase{u"\\\\server\\share\\a.lsp",
                               u"(load \"\\\\\\\\server\\\\share\\\\a.lsp\")(princ)"},
                      LispCase{u"/opt/lisp/a\"b.lsp", u"(load \"/opt/lisp/a\\\"b.lsp\")(princ)"},
                      LispCase{u"a\\\"b", u"(load \"a\\\\\\\"b\")(princ)"},
                      LispCase{u"", u"(load \"\")(princ)"}));

// ---- MENU_ ------------------------------------------------------------------

TEST_F(MenuCommandsTest, MenuSelectsTheListInAnyLetterCaseAndLoadsItOnce) {
    start("[File]\nNEW: n\n");
    SlotChangeCounter direct;
    core.state().addObserver(&direct);
    core.chooserPickedByUser(0);
    core.state().removeObserver(&direct);
    core.chooserPickedByUser(1);
    ASSERT_GT(direct.changes, 0);

    SlotChangeCounter viaMenu;
    core.state().addObserver(&viaMenu);
    commands.runCaption(u"MENU_: drawLIST.txt");
    core.state().removeObserver(&viaMenu);
    EXPECT_EQ(core.state().chooserSelectedText(), u"DrawList.txt");
    EXPECT_EQ(core.state().slots().find(100)->caption, u"Draw");
    EXPECT_EQ(viaMenu.changes, direct.changes);
    EXPECT_TRUE(log.empty());
}

TEST_F(MenuCommandsTest, MenuWithoutAMatchChangesNothing) {
    start("[File]\nNEW: n\n");
    SlotChangeCounter counter;
    core.state().addObserver(&counter);
    for (const auto* caption :
         {u"MENU_: Draw", u"MENU_: ＤrawList.txt", u"MENU_:", u"MENU_: DrawList.txt.bak"}) {
        commands.runCaption(caption);
    }
    core.state().removeObserver(&counter);
    EXPECT_EQ(counter.changes, 0);
    EXPECT_EQ(core.state().chooserSelectedText(), u"OrvaneList.txt");
}

TEST_F(MenuCommandsTest, MenuNamingTheSelectedListLoadsItAgain) {
    start("[File]\nNEW: n\n");
    dir.write("OrvaneList.txt", "[Edit]\nUNDO: u\n");
    commands.runCaption(u"MENU_: orvanelist.txt");
    EXPECT_EQ(core.state().slots().find(100)->caption, u"Edit");
    EXPECT_EQ(core.state().slots().find(101)->caption, u"UNDO: u");
}

// ---- CAD_ -------------------------------------------------------------------

TEST_F(MenuCommandsTest, TargetDialogOkSetsTheLabelAndCaption) {
    start(kUtf8Mark + "CAPTION_: 図面\n");
    windows.dialogAnswersOk = true;
    windows.dialogName = u"Plant CAD";
    commands.runCaption(u"CAD_: choose");
    EXPECT_EQ(core.shared().TargetCADName, u"Plant CAD");
    EXPECT_EQ(core.state().caption(), u"図面 [ Plant CAD ]");
    EXPECT_EQ(log, (CommandLog{u"dialog top-most", u"panel not top-most", u"pump", u"dialog",
                               u"Edit1", u"dialog not top-most", u"panel top-most", u"pump"}));
    EXPECT_EQ(cad.guardRuns, 0);
}

TEST_F(MenuCommandsTest, TargetDialogCancelOnlyRestoresTheZOrder) {
    start(kUtf8Mark + "CAPTION_: 図面\n");
    const std::u16string caption = core.state().caption();
    windows.dialogName = u"Plant CAD";
    commands.runCaption(u"CAD_:");
    EXPECT_EQ(core.shared().TargetCADName, u"");
    EXPECT_EQ(core.state().caption(), caption);
    EXPECT_EQ(log, (CommandLog{u"dialog top-most", u"panel not top-most", u"pump", u"dialog",
                               u"dialog not top-most", u"panel top-most", u"pump"}));
}

TEST_F(MenuCommandsTest, TargetDialogFailureStillRestoresTheZOrder) {
    start("");
    windows.dialogThrows = true;
    EXPECT_THROW(commands.runCaption(u"CAD_:"), Error);
    EXPECT_EQ(log, (CommandLog{u"dialog top-most", u"panel not top-most", u"pump", u"dialog",
                               u"dialog not top-most", u"panel top-most", u"pump"}));
}

// ---- APP_ as pure rules -------------------------------------------------------

struct ExecutableCase {
    std::u16string fullName;
    std::u16string path;
    std::u16string shown;
    bool pathRead;
};

std::u16string shownWith(std::u16string (*rule)(std::u16string_view,
                                                const std::function<std::u16string()>&),
                         const ExecutableCase& c, bool& pathRead) {
    pathRead = false;
    return rule(c.fullName, [&] {
        pathRead = true;
        return c.path;
    });
}

class WindowsExecutableTest : public ::testing::TestWithParam<ExecutableCase> {};

TEST_P(WindowsExecutableTest, ExtensionDecides) {
    bool pathRead = false;
    EXPECT_EQ(shownWith(&windowsExecutablePath, GetParam(), pathRead), GetParam().shown);
    EXPECT_EQ(pathRead, GetParam().pathRead);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WindowsExecutableTest,
    ::testing::Values(
        ExecutableCase{u"C:\\CAD\\bricscad.exe", u"D:\\x", u"C:\\CAD\\bricscad.exe", false},
        ExecutableCase{u"C:\\CAD\\bricscad", u"C:\\CAD", u"C:\\CAD\\bricscad.exe", true},
        ExecutableCase{u"C:\\CAD\\bricscad", u"C:\\CAD\\", u"C:\\CAD\\bricscad.exe", true},
        ExecutableCase{u"C:\\CAD.d\\cad", u"C:\\CAD.d", u"C:\\CAD.d\\bricscad.exe", true},
        ExecutableCase{u"/opt/cad/cad.bin", u"", u"/opt/cad/cad.bin", false},
        ExecutableCase{u"", u"", u"\\bricscad.exe", true}));

// The POSIX rule is built on POSIX only, where "/" separates in text paths.
#ifndef _WIN32
class PosixExecutableTest : public ::testing::TestWithParam<ExecutableCase> {};

TEST_P(PosixExecutableTest, FileNamePartDecides) {
    bool pathRead = false;
    EXPECT_EQ(shownWith(&posixExecutablePath, GetParam(), pathRead), GetParam().shown);
    EXPECT_EQ(pathRead, GetParam().pathRead);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PosixExecutableTest,
    ::testing::Values(ExecutableCase{u"/opt/cad/bricscad", u"/x", u"/opt/cad/bricscad", false},
                      ExecutableCase{u"/opt/cad/cad.sh", u"/x", u"/opt/cad/cad.sh", false},
                      ExecutableCase{u"/opt/cad/", u"/opt/cad", u"/opt/cad/bricscad", true},
                      ExecutableCase{u"", u"/opt/cad/", u"/opt/cad/bricscad", true},
                      ExecutableCase{u"", u"", u"/bricscad", true},
                      ExecutableCase{u"", u"C:\\CAD\\", u"C:\\CAD\\bricscad", true},
                      ExecutableCase{u"C:\\CAD\\", u"C:", u"C:bricscad", true}));
#endif

}  // namespace
}  // namespace orvane
