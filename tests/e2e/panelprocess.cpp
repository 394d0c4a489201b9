#include "tests/e2e/panelprocess.h"

#include <QFile>
#include <QProcessEnvironment>

#include "tests/e2e/accessibletext.h"
#include "tests/integration/democadprocess.h"

namespace orvane::e2e {

namespace {

constexpr auto kWindowBound = std::chrono::seconds(30);
constexpr auto kPopupBound = std::chrono::seconds(5);
constexpr auto kPaintBound = std::chrono::seconds(10);
// A window that has not answered by then is busy (a hung panel) and is not
// waited for any longer.
constexpr auto kCatchUpBound = std::chrono::seconds(3);

// A window answers a ping only after the events sent to it before, so the
// next action finds it as the last one left it.
void waitUntilCaughtUp(XDesktop& desktop, XWindow window) {
    if (window != 0) {
        desktop.answersPing(window, kCatchUpBound);
    }
}

// Keys go to the window that has the keyboard.
void waitUntilFocusCaughtUp() {
    XDesktop desktop;
    waitUntilCaughtUp(desktop, desktop.inputFocus());
}

}  // namespace

QByteArray utf8ListFile(const QStringList& lines) {
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines) {
        bytes += line.toUtf8() + "\r\n";
    }
    return bytes;
}

ProgramDirectory::ProgramDirectory() {
    valid_ = folder_.isValid() && QFile::copy(QStringLiteral(ORVANE_PATH), executable());
}

void ProgramDirectory::write(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
}

QByteArray ProgramDirectory::read(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QMap<QString, QString> ProgramDirectory::settings() const {
    QMap<QString, QString> values;
    QString section;
    for (const QByteArray& raw : read(QString::fromLatin1(kSettingsName)).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2);
        } else if (const qsizetype equals = line.indexOf(u'='); equals > 0) {
            values.insert(section + u'/' + line.left(equals), line.mid(equals + 1));
        }
    }
    return values;
}

QStringList ProgramDirectory::sectionsInOrder() const {
    QStringList sections;
    for (const QByteArray& raw : read(QString::fromLatin1(kSettingsName)).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            sections << line.mid(1, line.size() - 2);
        }
    }
    return sections;
}

PanelProcess::PanelProcess(const ProgramDirectory& directory, std::function<void()> childSetup, bool accessible) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (accessible) {
        environment.insert(QString::fromLatin1(AccessibleText::kAlwaysOn), QStringLiteral("1"));
    }
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    if (childSetup) {
        process_.setChildProcessModifier(std::move(childSetup));
    }
    process_.start(directory.executable(), {});
}

PanelProcess::PanelProcess(const ProgramDirectory& directory, const QProcessEnvironment& environment)
    : errorFile_(directory.path(QStringLiteral("stderr.txt"))) {
    process_.setProcessEnvironment(environment);
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(errorFile_);
    process_.start(directory.executable(), {});
}

PanelProcess::~PanelProcess() { stop(); }

QString PanelProcess::standardError() const {
    QFile file(errorFile_);
    return !errorFile_.isEmpty() && file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void PanelProcess::stop() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool PanelProcess::waitForWindow(XDesktop& desktop) {
    if (!process_.waitForStarted(10000)) {
        return false;
    }
    const bool managed = integration::waitUntil(
        [&] {
            const auto windows = desktop.clientWindowsOf(pid());
            window_ = windows.empty() ? 0 : windows.front();
            return window_ != 0 || !isRunning();
        },
        kWindowBound);
    return managed && window_ != 0 &&
           integration::waitUntil([&] { return desktop.answersPing(window_, std::chrono::milliseconds(200)); },
                                  kWindowBound);
}

// Without an event loop the child's end is only noticed when asked for.
bool PanelProcess::isRunning() {
    if (process_.state() != QProcess::NotRunning) {
        process_.waitForFinished(0);
    }
    return process_.state() != QProcess::NotRunning;
}

bool PanelProcess::waitForExit(std::chrono::milliseconds bound) {
    return process_.state() == QProcess::NotRunning || process_.waitForFinished(static_cast<int>(bound.count()));
}

int PanelProcess::exitCode() const {
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

bool runXdotool(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.setProcessChannelMode(QProcess::ForwardedChannels);
    xdotool.start(QStringLiteral("xdotool"), arguments);
    return xdotool.waitForFinished(10000) && xdotool.exitStatus() == QProcess::NormalExit &&
           xdotool.exitCode() == 0;
}

bool PanelDriver::click(XWindow window, int x, int y) {
    const bool clicked = runXdotool({QStringLiteral("mousemove"), QStringLiteral("--window"),
                                     QString::number(window), QString::number(x), QString::number(y),
                                     QStringLiteral("click"), QStringLiteral("1")});
    XDesktop desktop;
    waitUntilCaughtUp(desktop, window);
    return clicked;
}

bool PanelDriver::keys(const QStringList& keys) {
    const bool sent = runXdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")} + keys);
    waitUntilFocusCaughtUp();
    return sent;
}

bool PanelDriver::type(const QString& text) {
    const bool sent = runXdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    waitUntilFocusCaughtUp();
    return sent;
}

bool PanelDriver::moveWindow(XWindow window, int x, int y) {
    return runXdotool({QStringLiteral("windowmove"), QStringLiteral("--sync"), QString::number(window),
                       QString::number(x), QString::number(y)});
}

std::optional<Lamp> PanelDriver::lamp() { return findLamp(desktop_.grab(panel_.window())); }

std::optional<Lamp> PanelDriver::paintedLamp() {
    std::optional<Lamp> found;
    integration::waitUntil([&] { return (found = lamp()).has_value(); }, kPaintBound);
    return found;
}

testing::AssertionResult PanelDriver::openFirstDropDown() {
    const auto found = paintedLamp();
    if (!found) {
        return testing::AssertionFailure() << "no lamp in the panel's window";
    }
    // The lamp sits two pixels below the menu bar.
    const int barHeight = found->top - 2;
    if (barHeight <= 0) {
        return testing::AssertionFailure() << "no menu bar above the lamp (lamp at " << found->top << ")";
    }
    if (!click(panel_.window(), 12, barHeight / 2)) {
        return testing::AssertionFailure() << "xdotool could not click the menu bar";
    }
    if (!integration::waitUntil([&] { return desktop_.hasOpenPopup(panel_.pid()); }, kPopupBound)) {
        return testing::AssertionFailure() << "no drop-down opened on a click at 12, " << barHeight / 2;
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult PanelDriver::clickFirstMenuItem(int item) {
    if (auto opened = openFirstDropDown(); !opened) {
        return opened;
    }
    QStringList presses;
    for (int i = 0; i < item; ++i) {
        presses << QStringLiteral("Down");
    }
    presses << QStringLiteral("Return");
    if (!keys(presses)) {
        return testing::AssertionFailure() << "xdotool could not press the keys";
    }
    return testing::AssertionSuccess();
}

// The box's indicator, at the left of its text.
bool PanelDriver::clickCheckBox() {
    const auto found = paintedLamp();
    return found && click(panel_.window(), 22, found->top - 2 + 3 + 8);
}

}  // namespace orvane::e2e
