#include "tests/integration/barexserver.h"

#include <chrono>

namespace orvane::integration {

namespace {

constexpr auto kStartBound = std::chrono::seconds(30);

}  // namespace

BareXServer::BareXServer() {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The server writes its display number to standard output once it
    // accepts connections.
    process_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                            QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
}

BareXServer::~BareXServer() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool BareXServer::stop() {
    if (process_.state() == QProcess::NotRunning) {
        return true;
    }
    process_.terminate();
    return process_.waitForFinished(static_cast<int>(std::chrono::milliseconds(kStartBound).count()));
}

bool BareXServer::waitReady() {
    if (!process_.waitForStarted(10000)) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + kStartBound;
    QByteArray output;
    while (!output.contains('\n')) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || process_.state() == QProcess::NotRunning) {
            return false;
        }
        process_.waitForReadyRead(static_cast<int>(left.count()));
        output += process_.readAllStandardOutput();
    }
    displayName_ = ':' + output.left(output.indexOf('\n')).trimmed();
    return displayName_.size() > 1;
}

}  // namespace orvane::integration
