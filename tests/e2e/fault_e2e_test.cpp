// The whole program against a CAD that dies, hangs, stalls or answers
// nonsense, and against files it cannot write.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/resource.h>
#include <signal.h>

#include <algorithm>

#include "cadlink/dbus/replytimeout.h"
#include "tests/e2e/accessibletext.h"
#include "tests/e2e/e2etest.h"

namespace orvane::e2e {

namespace {

using integration::waitUntil;
using namespace std::chrono_literals;

const QString kVersionCaption = QStringLiteral(" バージョン情報");
const QString kDialogCaption = QStringLiteral("ターゲット CAD");
const QString kErrorCaption = QStringLiteral("Orvane");

enum FaultListItem { kLine = 1, kVersion, kTarget };

class FaultE2ETest : public PanelTest {
protected:
    void SetUp() override {
        setUpWithList({QStringLiteral("[Faults]"), QStringLiteral("_LINE: line"), QStringLiteral("VER_: version"),
                       QStringLiteral("CAD_: target")});
    }

    // The panel's event loop runs: everything sent to it before was handled.
    bool responsive(const PanelProcess& panel, std::chrono::milliseconds bound = 10s) {
        return waitUntil([&] { return desktop.answersPing(panel.window(), 300ms); }, bound);
    }

    // The version box opens and closes: the panel still takes the user's
    // clicks and shows its windows.
    void expectUsable(PanelProcess& panel) {
        ASSERT_TRUE(panel.isRunning()) << "the panel is gone";
        ASSERT_TRUE(responsive(panel)) << "the panel does not answer";
        PanelDriver driver(desktop, panel);
        ASSERT_TRUE(driver.clickFirstMenuItem(kVersion));
        XWindow box = 0;
        EXPECT_TRUE(waitUntil([&] { return (box = desktop.findWindow(panel.pid(), kVersionCaption)) != 0; }))
            << "no version box";
        if (box != 0) {
            ASSERT_TRUE(runXdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(box)}));
            ASSERT_TRUE(PanelDriver::keys({QStringLiteral("Return")}));
            EXPECT_TRUE(waitUntil([&] { return !desktop.exists(box); }));
        }
    }

    // Waits for the error box of the process and for a text in it that
    // satisfies wanted, as a screen reader reads it; then closes the box
    // with Enter. Gives every text the box showed.
    QStringList errorBoxTexts(PanelProcess& panel, const std::function<bool(const QString&)>& wanted) {
        XWindow box = 0;
        // The panel shares the box's caption.
        const auto findBox = [&] {
            for (const XWindow window : desktop.clientWindowsOf(panel.pid())) {
                if (window != panel.window() && desktop.caption(window) == kErrorCaption) {
                    box = window;
                }
            }
            return box != 0;
        };
        if (!waitUntil(findBox)) {
            return {};
        }
        QStringList texts;
        waitUntil([&] {
            texts = AccessibleText::namesOf(panel.pid(), wanted);
            return std::any_of(texts.begin(), texts.end(), wanted);
        }, 10s);
        runXdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(box)});
        PanelDriver::keys({QStringLiteral("Return")});
        return texts;
    }

    QStringList temporaryFiles() const {
        return QDir(QFileInfo(directory.executable()).path())
            .entryList({QStringLiteral(".*.tmp")}, QDir::Files | QDir::Hidden);
    }
};

TEST_F(FaultE2ETest, CadKilledDuringACallLeavesThePanelUsable) {
    // A CAD without a window is never "seen", so its end does not close the panel.
    auto demo = startDemo({QStringLiteral("--hwnd-zero"), QStringLiteral("--ignore"), QStringLiteral("SendCommand")});
    // The call must still be waiting when the CAD is killed, however slow the machine.
    qputenv(cadlink::dbus::replyTimeoutVariable, "120000");
    const auto panel = startPanel();
    qunsetenv(cadlink::dbus::replyTimeoutVariable);
    PanelDriver driver(desktop, *panel);

    ASSERT_TRUE(driver.clickFirstMenuItem(kLine));
    ASSERT_TRUE(demo->waitForLine([](const QString& line) { return line == QLatin1String("IGNORED SendCommand"); }));
    EXPECT_FALSE(desktop.answersPing(panel->window(), 300ms)) << "the call did not wait for the CAD";
    demo->stop();

    EXPECT_TRUE(responsive(*panel)) << "the call did not end with the CAD";
    expectUsable(*panel);
    const auto next = startDemo();
    ASSERT_TRUE(driver.clickFirstMenuItem(kLine));
    EXPECT_TRUE(waitForEffects(*next, {QStringLiteral("ESCAPE"), QStringLiteral("COMMAND _LINE\\r")}))
        << next->logLines().join(u'\n').toStdString();
}

TEST_F(FaultE2ETest, HungCadFailsTheCallAfterTheReplyTimeoutAndThePanelRecovers) {
    auto demo = startDemo({QStringLiteral("--hwnd-zero")});
    const auto panel = startPanel();
    const qint64 cad = cadProcessId();
    ASSERT_GT(cad, 0);
    const int callsBefore = demo->countLines(QStringLiteral("CALL HWND"));

    ASSERT_EQ(::kill(static_cast<pid_t>(cad), SIGSTOP), 0);
    // The next monitor tick calls the stopped CAD and waits.
    const bool blocked = waitUntil([&] { return !desktop.answersPing(panel->window(), 300ms); }, 5s);
    // The call is given up after the reply timeout (3 s), the CAD still stopped.
    const bool recovered = blocked && responsive(*panel);
    ::kill(static_cast<pid_t>(cad), SIGCONT);
    ASSERT_TRUE(blocked) << "no call waited for the stopped CAD";
    EXPECT_TRUE(recovered) << "the call outlasted the reply timeout";

    // The monitor calls again after its back-off: the first call had been
    // given up, not answered.
    EXPECT_TRUE(waitUntil([&] { return demo->countLines(QStringLiteral("CALL HWND")) >= callsBefore + 2; }, 10s));
    PanelDriver driver(desktop, *panel);
    ASSERT_TRUE(driver.clickFirstMenuItem(kLine));
    EXPECT_TRUE(demo->waitForLine([](const QString& line) { return line == QLatin1String("COMMAND _LINE\\r"); }))
        << demo->logLines().join(u'\n').toStdString();
}

TEST_F(FaultE2ETest, BusyCadGetsTheCommandOnceItAccepts) {
    auto demo = startDemo({QStringLiteral("--busy-life"), QStringLiteral("5000")});
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);

    ASSERT_TRUE(driver.clickFirstMenuItem(kLine));

    ASSERT_TRUE(demo->waitForLine([](const QString& line) { return line == QLatin1String("COMMAND _LINE\\r"); }))
        << demo->logLines().join(u'\n').toStdString();
    EXPECT_TRUE(responsive(*panel));
    const QStringList log = demo->logLines();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const QString& line) { return line.startsWith(QLatin1String("BUSY ")); }))
        << "the CAD was never busy";
    EXPECT_EQ(demo->countLines(QStringLiteral("COMMAND _LINE\\r")), 1);
}

// Answers of a CAD that break the protocol, as demo CAD options, and the
// member whose answer is the odd one.
struct Misbehaviour {
    const char* name;
    QStringList options;
    const char* oddMember;
};

void PrintTo(const Misbehaviour& case_, std::ostream* out) { *out << case_.name; }

// What a menu command asks of the CAD, in order, as the demo CAD logs it.
const QStringList kCommandRoad = {QStringLiteral("CALL HWND"), QStringLiteral("CALL ActiveDocument"),
                                  QStringLiteral("CALL SendCommand"), QStringLiteral("COMMAND ")};

class MisbehavingCadTest : public FaultE2ETest, public testing::WithParamInterface<Misbehaviour> {};

TEST_P(MisbehavingCadTest, CommandEndsAtTheOddAnswerAndThePanelGoesOn) {
    auto demo = startDemo(GetParam().options);
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);
    const QString odd = QStringLiteral("CALL ") + QLatin1String(GetParam().oddMember);

    ASSERT_TRUE(driver.clickFirstMenuItem(kLine));
    ASSERT_TRUE(demo->waitForLine([&](const QString& line) { return line == odd; }));
    ASSERT_TRUE(responsive(*panel));

    const QStringList later = kCommandRoad.mid(kCommandRoad.indexOf(odd) + 1);
    QStringList beyond;
    for (const QString& line : demo->logLines()) {
        if (std::any_of(later.begin(), later.end(), [&](const QString& step) { return line.startsWith(step); })) {
            beyond << line;
        }
    }
    EXPECT_TRUE(beyond.isEmpty()) << "the command went on: " << beyond.join(QStringLiteral(" | ")).toStdString();
    expectUsable(*panel);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MisbehavingCadTest,
    testing::Values(Misbehaviour{"WindowAsArray", {"--property", "HWND=as:1,2"}, "HWND"},
                    Misbehaviour{"WindowAsWord", {"--property", "HWND=s:window"}, "HWND"},
                    Misbehaviour{"WindowTooLarge", {"--property", "HWND=d:1e300"}, "HWND"},
                    Misbehaviour{"DocumentAsText", {"--property", "ActiveDocument=s:/Document1"}, "ActiveDocument"},
                    Misbehaviour{"DocumentTheCadDoesNotServe", {"--property", "ActiveDocument=o:/Nowhere"},
                                 "SendCommand"},
                    Misbehaviour{"NoSendCommand", {"--lack", "SendCommand"}, "SendCommand"}),
    [](const testing::TestParamInfo<Misbehaviour>& info) { return std::string(info.param.name); });

TEST_F(FaultE2ETest, SaveCutShortByTheFileSizeLimitKeepsTheOldListAndReportsIt) {
    QStringList entries;
    for (int i = 0; i < 300; ++i) {
        entries << QStringLiteral("Label %1\tVendor.Application.%1").arg(i, 3, 10, QLatin1Char('0'));
    }
    const QByteArray old = utf8ListFile(entries);
    directory.write(QString::fromLatin1(kTargetListName), old);
    // Large enough for the settings file, too small for the new list.
    ASSERT_TRUE(AccessibleText::startBus()) << "no accessibility bus to read the error box";
    const auto panel = startPanel(
        [] {
            const rlimit limit{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &limit);
        },
        true);
    PanelDriver driver(desktop, *panel);

    ASSERT_TRUE(driver.clickFirstMenuItem(kTarget));
    XWindow dialog = 0;
    ASSERT_TRUE(waitUntil([&] { return (dialog = desktop.findWindow(panel->pid(), kDialogCaption)) != 0; }));
    ASSERT_TRUE(PanelDriver::keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab")}));
    ASSERT_TRUE(PanelDriver::type(QStringLiteral("New")));
    ASSERT_TRUE(PanelDriver::click(dialog, 8 + 220 + 35, 151 + 21 + 11));

    const QString path = QFileInfo(directory.path(QString::fromLatin1(kTargetListName))).canonicalFilePath();
    const QString message = QStringLiteral("ファイル \"%1\" を作成できません。").arg(path);
    const QStringList texts = errorBoxTexts(*panel, [&](const QString& text) { return text.startsWith(message); });
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const QString& text) { return text.startsWith(message); }))
        << texts.mid(0, 20).join(u'|').toStdString();
    EXPECT_TRUE(panel->isRunning()) << "the file size limit ended the panel";
    EXPECT_EQ(directory.read(QString::fromLatin1(kTargetListName)), old);
    EXPECT_EQ(temporaryFiles(), QStringList());
}

TEST_F(FaultE2ETest, ReadOnlySettingsFileIsReportedAtExitAndKept) {
    const QString name = QString::fromLatin1(kSettingsName);
    const QByteArray old = directory.read(name);
    ASSERT_TRUE(QFile::setPermissions(directory.path(name), QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                                 QFileDevice::ReadOther));
    ASSERT_TRUE(AccessibleText::startBus()) << "no accessibility bus to read the error box";
    const auto panel = startPanel({}, true);

    desktop.requestClose(panel->window());

    const QString message = QStringLiteral("%1 に書き込めません.").arg(QFileInfo(directory.path(name)).canonicalFilePath());
    const QStringList texts = errorBoxTexts(*panel, [&](const QString& text) { return text == message; });
    EXPECT_TRUE(texts.contains(message)) << texts.join(u'|').toStdString();
    EXPECT_TRUE(panel->waitForExit(10s));
    EXPECT_EQ(panel->exitCode(), 0);
    EXPECT_EQ(directory.read(name), old);
}

}  // namespace

}  // namespace orvane::e2e
