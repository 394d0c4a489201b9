// The whole program against the real FreeCAD with the bridge add-on: the
// panel driven through the X server as a person drives it.
#include <QFile>

#include <algorithm>

#include "tests/e2e/e2etest.h"
#include "tests/e2e/freecadprocess.h"

namespace orvane::e2e {

namespace {

using integration::waitUntil;

constexpr std::uint32_t kLime = 0x00FF00;
// FreeCAD takes 5 to 8 s to start on an idle machine.
constexpr auto kStartBound = std::chrono::seconds(90);
constexpr auto kEffectBound = std::chrono::seconds(30);

// Items of the first drop-down, counted from 1.
enum FirstListItem { kBox = 1, kMacro };

class FreeCadE2ETest : public PanelTest {
protected:
    void SetUp() override {
        if (!FreeCadProcess::installed()) {
            GTEST_SKIP() << "needs FreeCAD (scripts/test-freecad.sh installs it)";
        }
        setUpWithList({QStringLiteral("CAPTION_: FreeCAD"), QStringLiteral("[Part]"), QStringLiteral("Part_Box: box"),
                       QStringLiteral("LOAD_: e2e.FCMacro")});
        directory.write(QStringLiteral("e2e.FCMacro"),
                        QStringLiteral("open(%1, 'w').write('ran')\n").arg(quoted(macroMark())).toUtf8());
    }

    QString macroMark() const { return directory.path(QStringLiteral("macro-ran")); }

    static QString quoted(const QString& path) { return u'"' + path + u'"'; }

    // The bridge logs the active document's objects after each command.
    static bool madeBox(const FreeCadProcess& freecad) {
        const QStringList lines = freecad.logLines();
        return std::any_of(lines.begin(), lines.end(), [](const QString& line) {
            return line.startsWith(QLatin1String("OBJECTS ")) && line.split(u' ').contains(QLatin1String("Box"));
        });
    }
};

TEST_F(FreeCadE2ETest, LampTurnsGreenItemsMakeABoxAndRunAMacroAndThePanelClosesWhenFreeCadQuits) {
    FreeCadProcess freecad(progId);
    ASSERT_TRUE(freecad.waitReady(kStartBound)) << freecad.standardError().toStdString();
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);
    ASSERT_TRUE(waitUntil([&] { return driver.lamp() && driver.lamp()->fill == kLime; }, kEffectBound))
        << "the lamp did not turn green";

    ASSERT_TRUE(driver.clickFirstMenuItem(kBox));
    EXPECT_TRUE(waitUntil([&] { return madeBox(freecad); }, kEffectBound))
        << freecad.logLines().join(u'\n').toStdString();

    ASSERT_TRUE(driver.clickFirstMenuItem(kMacro));
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(macroMark()); }, kEffectBound))
        << freecad.logLines().join(u'\n').toStdString();

    freecad.stop();
    EXPECT_TRUE(panel->waitForExit(std::chrono::seconds(15))) << "the panel outlived FreeCAD";
    EXPECT_EQ(panel->exitCode(), 0);
}

}  // namespace

}  // namespace orvane::e2e
