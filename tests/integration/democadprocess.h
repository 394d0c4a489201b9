#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace orvane::integration {

// A demo CAD started for one test: its own ProgID and log, stopped when the
// object goes.
class DemoCadProcess {
public:
    enum class Screen { Offscreen, X11 };

    // An empty bus address leaves the session bus the environment names.
    DemoCadProcess(QString progId, QStringList options, Screen screen = Screen::Offscreen,
                   const QString& busAddress = {});
    ~DemoCadProcess();
    DemoCadProcess(const DemoCadProcess&) = delete;
    DemoCadProcess& operator=(const DemoCadProcess&) = delete;

    // Waits for the READY line; false when the demo failed to come up.
    bool waitReady();
    std::uint32_t windowId() const { return windowId_; }
    const QString& progId() const { return progId_; }
    std::u16string progIdU16() const;

    QStringList logLines() const;
    int countLines(const QString& line) const;
    // Waits until some line satisfies the predicate; false at the bound.
    bool waitForLine(const std::function<bool(const QString&)>& predicate) const;
    void stop();

private:
    QTemporaryDir folder_;
    QString progId_;
    QString logPath_;
    QProcess process_;
    std::uint32_t windowId_ = 0;
};

// A ProgID no other test uses, so tests can run side by side on one bus.
QString uniqueProgId(const QString& stem);

// Polls condition until it holds or the bound passes; gives its last answer.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds bound = std::chrono::seconds(15));

QString democadPath();

}  // namespace orvane::integration
