#include "tests/e2e/privatedisplay.h"

#include <QtGlobal>

#include "tests/integration/desktop.h"

namespace orvane::e2e {

namespace {

constexpr int kServerStartMs = 15000;

}  // namespace

PrivateDisplay::PrivateDisplay()
    : previousDisplay_(qgetenv("DISPLAY")), hadDisplay_(qEnvironmentVariableIsSet("DISPLAY")) {
    server_.setProcessChannelMode(QProcess::SeparateChannels);
    server_.setStandardErrorFile(QProcess::nullDevice());
    // The server picks a free display and writes its number on stdout.
    server_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                          QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-noreset"),
                                          QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QByteArray number;
    while (!number.endsWith('\n') && server_.waitForReadyRead(kServerStartMs)) {
        number += server_.readAllStandardOutput();
    }
    if (!number.endsWith('\n')) {
        return;
    }
    qputenv("DISPLAY", ':' + number.trimmed());
    ready_ = integration::haveDisplay() && integration::ensureWindowManager();
}

PrivateDisplay::~PrivateDisplay() {
    stopServer();
    integration::stopStartedWindowManager();
    if (hadDisplay_) {
        qputenv("DISPLAY", previousDisplay_);
    } else {
        qunsetenv("DISPLAY");
    }
}

bool PrivateDisplay::stopServer() {
    if (server_.state() == QProcess::NotRunning) {
        return true;
    }
    server_.terminate();
    return server_.waitForFinished(kServerStartMs);
}

}  // namespace orvane::e2e
