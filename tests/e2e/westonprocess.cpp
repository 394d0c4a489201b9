#include "tests/e2e/westonprocess.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "tests/integration/democadprocess.h"

namespace orvane::e2e {

namespace {

const QString kSocketName = QStringLiteral("orvane-wayland");
const QString kLogName = QStringLiteral("weston.log");

}  // namespace

WestonProcess::WestonProcess(X11 x11) : x11_(x11) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_.path());
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList arguments{QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--socket=") + kSocketName,
                          QStringLiteral("--idle-time=0"), QStringLiteral("--log=") + runtimeDir_.filePath(kLogName)};
    if (x11_ == X11::XWayland) {
        arguments << QStringLiteral("--xwayland");
    }
    process_.start(QStringLiteral("weston"), arguments);
}

WestonProcess::~WestonProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString WestonProcess::log() const {
    QFile file(runtimeDir_.filePath(kLogName));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool WestonProcess::waitReady() {
    if (!runtimeDir_.isValid() || !process_.waitForStarted(10000)) {
        return false;
    }
    const auto running = [this] {
        process_.waitForFinished(0);
        return process_.state() == QProcess::Running;
    };
    const bool listening = integration::waitUntil(
        [&] { return QFileInfo::exists(runtimeDir_.filePath(kSocketName)) || !running(); },
        std::chrono::seconds(30));
    if (!listening || !running()) {
        return false;
    }
    if (x11_ == X11::None) {
        return true;
    }
    // XWayland's server starts on the first X client; the compositor names
    // its display as soon as it listens for one.
    static const QRegularExpression displayLine(QStringLiteral("xserver listening on display (:[0-9]+)"));
    integration::waitUntil(
        [&] {
            const QRegularExpressionMatch match = displayLine.match(log());
            if (match.hasMatch()) {
                x11Display_ = match.captured(1).toLatin1();
            }
            return match.hasMatch() || !running();
        },
        std::chrono::seconds(30));
    return !x11Display_.isEmpty();
}

QProcessEnvironment WestonProcess::sessionEnvironment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("XAUTHORITY"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_.path());
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocketName);
    environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    if (!x11Display_.isEmpty()) {
        environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(x11Display_));
    }
    return environment;
}

}  // namespace orvane::e2e
