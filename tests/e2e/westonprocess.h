#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace orvane::e2e {

// A Wayland compositor of one test's own: weston on its headless backend,
// with its own runtime folder, and with an XWayland X server when asked.
class WestonProcess {
public:
    enum class X11 { None, XWayland };

    explicit WestonProcess(X11 x11);
    ~WestonProcess();
    WestonProcess(const WestonProcess&) = delete;
    WestonProcess& operator=(const WestonProcess&) = delete;

    // Waits until the compositor's socket appears and, with XWayland, until
    // it names the X display; false when it did not come up.
    bool waitReady();
    // ":N" of the XWayland server, empty without one.
    const QByteArray& x11Display() const { return x11Display_; }
    // The environment of a program in this session, as a desktop's login
    // sets it: the compositor's socket and runtime folder, the session type,
    // the X display when there is one, nothing of the desktop the tests run
    // on and no named Qt platform.
    QProcessEnvironment sessionEnvironment() const;
    // The compositor's log, for a failure message.
    QString log() const;

private:
    QTemporaryDir runtimeDir_;
    X11 x11_;
    QProcess process_;
    QByteArray x11Display_;
};

}  // namespace orvane::e2e
