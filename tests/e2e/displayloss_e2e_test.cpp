// The whole program when its X server goes away under it, as a logout that
// ends the server or a crash of the server does.
#include <optional>

#include "tests/e2e/panelprocess.h"
#include "tests/e2e/privatedisplay.h"
#include "tests/integration/democadprocess.h"

namespace orvane::e2e {

namespace {

using integration::waitUntil;
using namespace std::chrono_literals;

class DisplayLossE2ETest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(directory.isValid());
        ASSERT_TRUE(display.isReady()) << "no X server with a window manager of the test's own";
        desktop.emplace();
        ASSERT_TRUE(desktop->isOpen());
        directory.write(QStringLiteral("OrvaneList.txt"), utf8ListFile({QStringLiteral("[Lost]"), QStringLiteral("_LINE: line")}));
        directory.write(QString::fromLatin1(kSettingsName),
                        "[MenuList]\r\nFileName=OrvaneList.txt\r\n[Form]\r\nLeft=40\r\nTop=50\r\n"
                        "[TargetCAD]\r\nProgId=Lost.Application\r\n[ImeOff]\r\nCheck=0\r\n");
    }

    // Every event the panel was sent before is handled: it answered a ping
    // sent after them, and then one more, sent after the first answer.
    bool handledEverythingSent(const PanelProcess& panel) {
        for (int round = 0; round < 2; ++round) {
            if (!waitUntil([&] { return desktop->answersPing(panel.window(), 300ms); }, 10s)) {
                return false;
            }
        }
        return true;
    }

    ProgramDirectory directory;
    PrivateDisplay display;
    std::optional<XDesktop> desktop;
};

TEST_F(DisplayLossE2ETest, ServerGoneEndsThePanelWithItsLastSettingsWritten) {
    PanelProcess panel(directory);
    ASSERT_TRUE(panel.waitForWindow(*desktop)) << "the panel did not come up";
    const QRect before = desktop->outerGeometry(panel.window());
    ASSERT_TRUE(PanelDriver::moveWindow(panel.window(), before.x() + 97, before.y() + 61));
    const QRect moved = desktop->outerGeometry(panel.window());
    ASSERT_NE(moved.topLeft(), before.topLeft());
    ASSERT_TRUE(handledEverythingSent(panel)) << "the panel does not answer";

    // The test's own connection goes first: the server's end would end the test.
    desktop.reset();
    ASSERT_TRUE(display.stopServer());

    ASSERT_TRUE(panel.waitForExit(15s)) << "the panel outlived its display";
    EXPECT_NE(panel.exitCode(), 0);
    const auto stored = directory.settings();
    EXPECT_EQ(directory.sectionsInOrder(), QStringList({QStringLiteral("MenuList"), QStringLiteral("Form"),
                                                        QStringLiteral("TargetCAD"), QStringLiteral("ImeOff")}));
    EXPECT_EQ(stored.value(QStringLiteral("Form/Left")).toInt(), moved.x());
    EXPECT_EQ(stored.value(QStringLiteral("Form/Top")).toInt(), moved.y());
    EXPECT_EQ(stored.value(QStringLiteral("Form/Width")).toInt(), moved.width());
    EXPECT_EQ(stored.value(QStringLiteral("Form/Height")).toInt(), moved.height());
    EXPECT_EQ(stored.value(QStringLiteral("MenuList/FileName")), QLatin1String("OrvaneList.txt"));
    EXPECT_EQ(stored.value(QStringLiteral("TargetCAD/ProgId")), QLatin1String("Lost.Application"));
    EXPECT_EQ(stored.value(QStringLiteral("ImeOff/Check")), QLatin1String("0"));
}

}  // namespace

}  // namespace orvane::e2e
