#include "tests/e2e/freecadprocess.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include "tests/integration/democadprocess.h"

namespace orvane::e2e {

namespace {

const QString kExecutable = QStringLiteral("freecad");

// The folder of user modules FreeCAD reads, below its home folder.
bool installBridge(const QString& home) {
    const QDir source(QStringLiteral(ORVANE_FREECAD_BRIDGE_DIR));
    const QString target = home + QStringLiteral("/.local/share/FreeCAD/Mod/OrvaneBridge");
    if (!QDir().mkpath(target)) {
        return false;
    }
    const QStringList files = source.entryList({QStringLiteral("*.py")}, QDir::Files);
    for (const QString& file : files) {
        if (!QFile::copy(source.filePath(file), target + u'/' + file)) {
            return false;
        }
    }
    return !files.isEmpty();
}

}  // namespace

FreeCadProcess::FreeCadProcess(const QString& progId) : logPath_(home_.filePath(QStringLiteral("bridge.log"))) {
    if (!home_.isValid() || !installBridge(home_.path())) {
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home_.path());
    // FreeCAD's start page aborts for root without it; CI runs as root.
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    environment.insert(QStringLiteral("ORVANE_FREECAD_PROGID"), progId);
    environment.insert(QStringLiteral("ORVANE_FREECAD_LOG"), logPath_);
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process_.setProcessEnvironment(environment);
    process_.setStandardOutputFile(home_.filePath(QStringLiteral("stdout.txt")));
    process_.setStandardErrorFile(home_.filePath(QStringLiteral("stderr.txt")));
    process_.start(kExecutable, {});
}

FreeCadProcess::~FreeCadProcess() { stop(); }

bool FreeCadProcess::installed() { return !QStandardPaths::findExecutable(kExecutable).isEmpty(); }

bool FreeCadProcess::waitReady(std::chrono::milliseconds bound) {
    return integration::waitUntil(
        [&] {
            return process_.state() == QProcess::NotRunning ||
                   !logLines().filter(QStringLiteral("READY ")).isEmpty();
        },
        bound) &&
           process_.state() != QProcess::NotRunning;
}

QStringList FreeCadProcess::logLines() const {
    QFile log(logPath_);
    if (!log.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void FreeCadProcess::stop() {
    if (process_.state() == QProcess::NotRunning) {
        return;
    }
    process_.terminate();
    if (!process_.waitForFinished(15000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString FreeCadProcess::standardError() const {
    QFile file(home_.filePath(QStringLiteral("stderr.txt")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll().right(4000)) : QString();
}

}  // namespace orvane::e2e
