#include "tests/integration/democadprocess.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcessEnvironment>

#include <atomic>
#include <thread>

#include <unistd.h>

namespace orvane::integration {

QString democadPath() { return QStringLiteral(DEMOCAD_PATH); }

QString uniqueProgId(const QString& stem) {
    static std::atomic<int> counter{0};
    return QStringLiteral("OrvaneTest.%1P%2N%3").arg(stem).arg(::getpid()).arg(counter++);
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

DemoCadProcess::DemoCadProcess(QString progId, QStringList options, Screen screen, const QString& busAddress)
    : progId_(std::move(progId)), logPath_(folder_.filePath(QStringLiteral("democad.log"))) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!busAddress.isEmpty()) {
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    }
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       screen == Screen::X11 ? QStringLiteral("xcb") : QStringLiteral("offscreen"));
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    options << QStringLiteral("--log") << logPath_ << progId_;
    process_.start(democadPath(), options);
}

DemoCadProcess::~DemoCadProcess() { stop(); }

void DemoCadProcess::stop() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

std::u16string DemoCadProcess::progIdU16() const {
    return {reinterpret_cast<const char16_t*>(progId_.utf16()), static_cast<std::size_t>(progId_.size())};
}

bool DemoCadProcess::waitReady() {
    if (!process_.waitForStarted(10000)) {
        return false;
    }
    QString ready;
    const bool came = waitForLine([&ready](const QString& line) {
        if (line.startsWith(QLatin1String("READY "))) {
            ready = line;
            return true;
        }
        return false;
    });
    if (!came) {
        return false;
    }
    windowId_ = static_cast<std::uint32_t>(ready.mid(6).toULongLong());
    return true;
}

QStringList DemoCadProcess::logLines() const {
    QFile file(logPath_);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

int DemoCadProcess::countLines(const QString& line) const { return static_cast<int>(logLines().count(line)); }

bool DemoCadProcess::waitForLine(const std::function<bool(const QString&)>& predicate) const {
    return waitUntil([&] {
        const QStringList lines = logLines();
        return std::any_of(lines.begin(), lines.end(), predicate);
    });
}

}  // namespace orvane::integration
