// The whole program while the CAD it has seen hangs: the panel stays open and
// keeps answering, and the CAD that goes on gets a later command once.
#include <signal.h>

#include <algorithm>
#include <optional>

#include "cadlink/dbus/replytimeout.h"
#include "tests/e2e/e2etest.h"

namespace orvane::e2e {

namespace {

using integration::waitUntil;
using namespace std::chrono_literals;

constexpr std::uint32_t kLime = 0x00FF00;
constexpr int kLineItem = 1;
// Long beside a ping's answer, so each call the panel waits on shows.
constexpr char kReplyTimeoutMs[] = "1500";
constexpr auto kPing = 400ms;

class HangE2ETest : public PanelTest {
protected:
    void SetUp() override {
        setUpWithList({QStringLiteral("[Hang]"), QStringLiteral("_LINE: line")});
        qputenv(cadlink::dbus::replyTimeoutVariable, kReplyTimeoutMs);
    }

    void TearDown() override { qunsetenv(cadlink::dbus::replyTimeoutVariable); }

    // A panel that has seen the demo CAD, which is then stopped.
    void startAndHang() {
        demo = startDemo();
        panel = startPanel();
        driver.emplace(desktop, *panel);
        ASSERT_TRUE(waitUntil([&] { return driver->lamp() && driver->lamp()->fill == kLime; }, 10s))
            << "the panel never saw the CAD";
        cad = static_cast<pid_t>(cadProcessId());
        ASSERT_GT(cad, 0);
        ASSERT_EQ(::kill(cad, SIGSTOP), 0);
    }

    // Watches the window manager's pings until the panel has waited on the
    // stopped CAD the given number of times and answered after the last
    // wait; false if it did not, or if it ended.
    bool survivesWaits(int count) {
        int waits = 0;
        bool waiting = false;
        return waitUntil(
            [&] {
                const bool answered = desktop.answersPing(panel->window(), kPing);
                waits += !answered && !waiting ? 1 : 0;
                waiting = !answered;
                return !panel->isRunning() || (waits >= count && answered);
            },
            40s) &&
               panel->isRunning();
    }

    void resume() const { ::kill(cad, SIGCONT); }

    std::unique_ptr<integration::DemoCadProcess> demo;
    std::unique_ptr<PanelProcess> panel;
    std::optional<PanelDriver> driver;
    pid_t cad = 0;
};

TEST_F(HangE2ETest, PanelStaysOpenAnsweringAndLitWhileTheCadHangs) {
    startAndHang();
    ASSERT_FALSE(HasFatalFailure());
    // The first wait ends the call; the second is the monitor trying again.
    EXPECT_TRUE(survivesWaits(2));
    const auto lamp = driver->lamp();
    resume();
    ASSERT_TRUE(lamp.has_value());
    EXPECT_EQ(lamp->fill, kLime);
}

TEST_F(HangE2ETest, CommandGivenDuringTheHangIsDroppedAndALaterOneArrivesOnce) {
    startAndHang();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(survivesWaits(1));
    const testing::AssertionResult clicked = driver->clickFirstMenuItem(kLineItem);
    const bool survived = survivesWaits(1);
    resume();
    ASSERT_TRUE(clicked) << "during the hang";
    ASSERT_TRUE(survived);

    ASSERT_TRUE(driver->clickFirstMenuItem(kLineItem));
    // The panel's calls reach the CAD in order: once a monitor call after
    // the command has arrived, any second sending would have too.
    ASSERT_TRUE(waitUntil([&] {
        const QStringList lines = demo->logLines();
        const auto command = std::find_if(lines.begin(), lines.end(),
                                          [](const QString& line) { return line.startsWith(QLatin1String("COMMAND ")); });
        return std::find(command, lines.end(), QStringLiteral("CALL HWND")) != lines.end();
    }, 15s));
    EXPECT_EQ(effects(*demo), QStringList({QStringLiteral("ESCAPE"), QStringLiteral("COMMAND _LINE\\r")}))
        << demo->logLines().join(u'\n').toStdString();
}

}  // namespace

}  // namespace orvane::e2e
