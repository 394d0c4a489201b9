#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>

namespace orvane::e2e {

// The real FreeCAD with the bridge installed in a fresh home folder (FreeCAD
// keeps its window geometry there), serving the given ProgID and logging
// what reaches the bridge.
class FreeCadProcess {
public:
    explicit FreeCadProcess(const QString& progId);
    ~FreeCadProcess();
    FreeCadProcess(const FreeCadProcess&) = delete;
    FreeCadProcess& operator=(const FreeCadProcess&) = delete;

    static bool installed();

    // Waits until the bridge holds the bus name; false when FreeCAD ended or
    // the bound passed first.
    bool waitReady(std::chrono::milliseconds bound);
    QStringList logLines() const;
    // Ends FreeCAD as the system does at logout; its bus name goes with it.
    void stop();
    QString standardError() const;

private:
    QTemporaryDir home_;
    QString logPath_;
    QProcess process_;
};

}  // namespace orvane::e2e
