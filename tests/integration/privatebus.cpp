#include "tests/integration/privatebus.h"

namespace orvane::integration {

namespace {

constexpr int kDaemonBoundMs = 15000;

}  // namespace

PrivateBus::PrivateBus(const QString& address) {
    daemon_.setStandardErrorFile(QProcess::nullDevice());
    // The daemon writes its address once it listens.
    daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                  QStringLiteral("--address=") + address,
                                                  QStringLiteral("--print-address=1")});
    QByteArray printed;
    while (!printed.endsWith('\n') && daemon_.waitForReadyRead(kDaemonBoundMs)) {
        printed += daemon_.readAllStandardOutput();
    }
    ready_ = printed.endsWith('\n');
}

PrivateBus::~PrivateBus() {
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.kill();
        daemon_.waitForFinished(kDaemonBoundMs);
    }
}

}  // namespace orvane::integration
