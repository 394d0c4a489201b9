#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <functional>

#include <gtest/gtest.h>

#include "tests/e2e/xdesktop.h"

namespace orvane::e2e {

// The panel's file name; its settings file is "Orvane.ini" beside it.
inline constexpr char kProgramName[] = "Orvane";
inline constexpr char kSettingsName[] = "Orvane.ini";
inline constexpr char kTargetListName[] = "TargetCAD_APIVersion.txt";

// Lines joined by CR LF behind a UTF-8 byte order mark, as a user's editor
// saves a menu list.
QByteArray utf8ListFile(const QStringList& lines);

// A fresh program directory holding a copy of the panel. The program finds
// its files beside its own executable, so it is copied, not linked.
class ProgramDirectory {
public:
    ProgramDirectory();

    bool isValid() const { return valid_; }
    QString path(const QString& name) const { return folder_.filePath(name); }
    QString executable() const { return path(QString::fromLatin1(kProgramName)); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    // The settings file's sections as "Section/Key" → value.
    QMap<QString, QString> settings() const;
    QStringList sectionsInOrder() const;

private:
    QTemporaryDir folder_;
    bool valid_ = false;
};

// One run of the panel on the X display.
class PanelProcess {
public:
    // childSetup runs in the child between fork and exec (resource limits);
    // an accessible panel serves its widgets' texts on the accessibility bus.
    explicit PanelProcess(const ProgramDirectory& directory, std::function<void()> childSetup = {},
                          bool accessible = false);
    // A run with exactly this environment; its standard error is kept in
    // the program directory.
    PanelProcess(const ProgramDirectory& directory, const QProcessEnvironment& environment);
    ~PanelProcess();
    PanelProcess(const PanelProcess&) = delete;
    PanelProcess& operator=(const PanelProcess&) = delete;

    // Waits until the main window is managed and answers pings.
    bool waitForWindow(XDesktop& desktop);
    XWindow window() const { return window_; }
    qint64 pid() const { return process_.processId(); }
    bool isRunning();
    bool waitForExit(std::chrono::milliseconds bound);
    // The exit code of a normal exit, -1 after a crash or a signal.
    int exitCode() const;
    void stop();
    // What the run wrote to standard error, for a run that keeps it.
    QString standardError() const;

private:
    QProcess process_;
    QString errorFile_;
    XWindow window_ = 0;
};

// Mouse and keys through the X server, as a person gives them (xdotool).
class PanelDriver {
public:
    PanelDriver(XDesktop& desktop, PanelProcess& panel) : desktop_(desktop), panel_(panel) {}

    // The lamp's place and colour now.
    std::optional<Lamp> lamp();
    // The lamp once the window has been painted: a window that answers the
    // window manager may still show only its background.
    std::optional<Lamp> paintedLamp();
    // Opens the first drop-down of the menu bar with a click. On failure,
    // says which step failed.
    testing::AssertionResult openFirstDropDown();
    // Opens the first drop-down of the menu bar with a click and picks its
    // item-th visible item with the arrow keys and Enter. On failure, says
    // which step failed.
    testing::AssertionResult clickFirstMenuItem(int item);
    // Clicks the IMEOFF check box.
    bool clickCheckBox();
    // Client coordinates of the window.
    static bool click(XWindow window, int x, int y);
    static bool keys(const QStringList& keys);
    static bool type(const QString& text);
    static bool moveWindow(XWindow window, int x, int y);

private:
    XDesktop& desktop_;
    PanelProcess& panel_;
};

bool runXdotool(const QStringList& arguments);

}  // namespace orvane::e2e
