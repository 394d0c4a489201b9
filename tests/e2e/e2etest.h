#pragma once

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QStringList>

#include <memory>

#include "cadlink/dbus/busname.h"
#include "tests/e2e/panelprocess.h"
#include "tests/e2e/xdesktop.h"
#include "tests/integration/democadprocess.h"
#include "tests/integration/desktop.h"

namespace orvane::e2e {

// A test of the whole program on the X desktop: a program directory of its
// own, the real panel and the demo CAD under a ProgID no other test uses.
class PanelTest : public testing::Test {
protected:
    void SetUp() override {
        if (!integration::haveDisplay() || !integration::haveSessionBus()) {
            GTEST_SKIP() << "needs DISPLAY and a session bus (run under xvfb-run and dbus-run-session)";
        }
        ASSERT_TRUE(integration::ensureWindowManager()) << "no window manager could be started";
        ASSERT_TRUE(desktop.isOpen());
        ASSERT_TRUE(directory.isValid());
        progId = integration::uniqueProgId(QStringLiteral("E2E"));
    }

    // The set-up, then the menu list the panel loads and the test's CAD as
    // its target.
    void setUpWithList(const QStringList& lines) {
        PanelTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        directory.write(QStringLiteral("OrvaneList.txt"), utf8ListFile(lines));
        writeTarget();
    }

    // The target CAD list names the test's CAD; the settings file makes it
    // the target.
    void writeTarget(const QString& label = QStringLiteral("Demo")) {
        directory.write(QString::fromLatin1(kTargetListName), utf8ListFile({label + u'\t' + progId}));
        directory.write(QString::fromLatin1(kSettingsName),
                        QStringLiteral("[TargetCAD]\r\nProgId=%1\r\n").arg(progId).toUtf8());
    }

    std::unique_ptr<integration::DemoCadProcess> startDemo(QStringList options = {}) {
        auto demo = std::make_unique<integration::DemoCadProcess>(progId, options,
                                                                  integration::DemoCadProcess::Screen::X11);
        EXPECT_TRUE(demo->waitReady()) << "the demo CAD did not come up";
        return demo;
    }

    std::unique_ptr<PanelProcess> startPanel(std::function<void()> childSetup = {}, bool accessible = false) {
        auto panel = std::make_unique<PanelProcess>(directory, std::move(childSetup), accessible);
        EXPECT_TRUE(panel->waitForWindow(desktop)) << "the panel did not come up";
        return panel;
    }

    // The process that serves the test's ProgID on the bus, 0 when none does.
    qint64 cadProcessId() const {
        const auto name = cadlink::dbus::busNameForProgId(
            std::u16string_view(reinterpret_cast<const char16_t*>(progId.utf16()), static_cast<std::size_t>(progId.size())));
        if (!name) {
            return 0;
        }
        const auto pid = QDBusConnection::sessionBus().interface()->servicePid(QString::fromStdString(*name));
        return pid.isValid() ? static_cast<qint64>(pid.value()) : 0;
    }

    // The log lines of the demo CAD that show what reached it, in order.
    static QStringList effects(const integration::DemoCadProcess& demo) {
        QStringList lines;
        for (const QString& line : demo.logLines()) {
            if (line == QLatin1String("ESCAPE") || line.startsWith(QLatin1String("COMMAND "))) {
                lines << line;
            }
        }
        return lines;
    }

    static bool waitForEffects(const integration::DemoCadProcess& demo, const QStringList& expected) {
        return integration::waitUntil([&] { return effects(demo) == expected; }, std::chrono::seconds(10));
    }

    XDesktop desktop;
    ProgramDirectory directory;
    QString progId;
};

}  // namespace orvane::e2e
