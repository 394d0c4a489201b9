// Program entry: prepares the application, applies the visual style, creates
// the panel and the target CAD dialog, and runs the event loop until the
// panel closes. Nothing is read from the command line; ORVANE_PROGRAM_DIR
// may name another program folder.
#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <iostream>

#include "app/qt/displayloss.h"
#include "app/qt/platformchoice.h"
#include "app/qt/programfolder.h"
#include "app/qt/terminationsignal.h"
#include "cadlink/dbus/dbusruntime.h"
#include "cadlink/x11/x11windowsystem.h"
#include "core/error.h"
#include "core/platform/platform.h"
#include "ui/qt/OrvaneUnit.h"
#include "ui/qt/boxes.h"
#include "ui/qt/theme.h"

int main(int argc, char** argv) {
    std::u16string programPath;
    try {
        programPath = orvane::app::programPathIn(orvane::platform::programPath(),
                                                 std::getenv(orvane::app::kProgramFolderVariable));
    } catch (const orvane::app::ProgramFolderError& error) {
        // A launcher's mistake, told before any window or display is touched.
        std::cerr << error.what() << '\n';
        return 2;
    }
    // Qt reads its platform when the application object is made.
    orvane::app::applyPlatformChoice(argc > 0 ? argv[0] : "Orvane");
    // A write past the file-size limit must fail as a write, with the creation
    // message, instead of killing the panel midway.
    std::signal(SIGXFSZ, SIG_IGN);
    // A display or bus that goes away in the middle of a write must end as
    // a failed write, so the settings can still be saved on the way out.
    std::signal(SIGPIPE, SIG_IGN);
    // Qt sees the program name only, so no option reaches it either.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    const QString title = orvane::ui::toQString(orvane::applicationTitle(programPath));
    QApplication::setApplicationName(title);
    QApplication::setDesktopFileName(QStringLiteral("orvane"));

    // 1. The automation runtime, before the first window.
    orvane::cadlink::dbus::DBusAutomationRuntime runtime;
    orvane::cadlink::x11::X11WindowSystem windows;
    orvane::ui::QtMessageBoxes boxes;

    // 2. The panel carries the task-bar entry: it is the only window without
    //    an owner; the dialog is transient for it.
    // 3. The visual style.
    orvane::ui::applyVisualStyleOrReport(QString::fromLatin1(orvane::ui::kVisualStyleName), boxes, title);

    {
        // 4. The panel; creating it runs the start-up sequence.
        orvane::ui::TForm91 panel({programPath, runtime, windows, boxes});
        // 5. The target CAD dialog, hidden.
        panel.createTargetCADForm();
        // Told to end from outside: as when the CAD has gone.
        const TerminationSignal termination([&panel] { panel.closeProgram(); });
        // The X server going away ends the program without its shutdown;
        // the settings are written first. Disarmed before the shutdown runs.
        const DisplayLossSave displayLoss([&panel] { panel.core().writeSettingsNow(); });
        // 6. Until the panel closes.
        panel.show();
        // The icon's 15 images are decoded once the panel is on its way to
        // the screen.
        QTimer iconAfterShow;
        iconAfterShow.setSingleShot(true);
        QObject::connect(&iconAfterShow, &QTimer::timeout, &orvane::ui::installApplicationIcon);
        iconAfterShow.start(0);
        QApplication::exec();
        // 7. Destroying the panel runs the shutdown sequence.
    }
    return 0;
}
