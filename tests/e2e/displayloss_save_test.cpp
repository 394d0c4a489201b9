// The save on a lost display, in a child process of its own: its Xlib
// connection breaks when the test ends the X server under it.
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include <gtest/gtest.h>

#include "app/qt/displayloss.h"
#include "tests/e2e/privatedisplay.h"
#include "tests/integration/democadprocess.h"

// Xlib last: its macros (Status, None, Bool) collide with Qt's names.
#include <X11/Xlib.h>

namespace orvane::e2e {

namespace {

using namespace std::chrono_literals;

// What the child does before it waits for the server's end.
enum class Arming { Armed, Disarmed };

// An earlier handler that ends the process without running the exit hooks.
int endWithoutExitHooks(Display*) { _exit(7); }

class DisplayLossSaveTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(display.isReady()) << "no X server of the test's own";
    }

    // Runs a child that connects, arms a save that adds a line to a file,
    // waits until the server is gone and then talks to it; gives the
    // child's wait status.
    int loseDisplayInChild(Arming arming, XIOErrorHandler earlierHandler = nullptr) {
        int ready[2];
        int go[2];
        if (pipe(ready) != 0 || pipe(go) != 0) {
            ADD_FAILURE() << "no pipes";
            return -1;
        }
        const QByteArray marks = savesPath().toLocal8Bit();
        const pid_t child = fork();
        if (child == 0) {
            Display* const connection = XOpenDisplay(nullptr);
            if (connection == nullptr) {
                _exit(3);
            }
            if (earlierHandler != nullptr) {
                XSetIOErrorHandler(earlierHandler);
            }
            std::optional<DisplayLossSave> save(std::in_place, [&marks] {
                const int file = open(marks.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
                [[maybe_unused]] const ssize_t written = write(file, "saved\n", 6);
                close(file);
            });
            if (arming == Arming::Disarmed) {
                save.reset();
            }
            char byte = 0;
            if (write(ready[1], &byte, 1) != 1 || read(go[0], &byte, 1) != 1) {
                _exit(4);
            }
            XSync(connection, False);
            _exit(5);
        }
        char byte = 0;
        const bool childReady = read(ready[0], &byte, 1) == 1;
        EXPECT_TRUE(childReady) << "the child did not connect";
        EXPECT_TRUE(display.stopServer());
        [[maybe_unused]] const ssize_t sent = write(go[1], &byte, 1);
        int status = -1;
        EXPECT_TRUE(integration::waitUntil([&] { return waitpid(child, &status, WNOHANG) == child; }, 15s))
            << "the child outlived its display";
        for (const int end : {ready[0], ready[1], go[0], go[1]}) {
            close(end);
        }
        return status;
    }

    QString savesPath() const { return folder.filePath(QStringLiteral("saves")); }
    QByteArray saves() const {
        QFile file(savesPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    PrivateDisplay display;
};

TEST_F(DisplayLossSaveTest, LostXlibConnectionSavesOnceAndEndsWithStatusOne) {
    const int status = loseDisplayInChild(Arming::Armed);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(saves(), "saved\n");
}

TEST_F(DisplayLossSaveTest, LostXlibConnectionSavesBeforeAnEarlierHandlerEndsTheProcess) {
    const int status = loseDisplayInChild(Arming::Armed, &endWithoutExitHooks);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
    EXPECT_EQ(saves(), "saved\n");
}

TEST_F(DisplayLossSaveTest, DisarmedSaveDoesNotRun) {
    const int status = loseDisplayInChild(Arming::Disarmed);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(saves(), "");
}

}  // namespace

}  // namespace orvane::e2e
