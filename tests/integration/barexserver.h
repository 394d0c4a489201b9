#pragma once

#include <QByteArray>
#include <QProcess>

namespace orvane::integration {

// An X server of one test's own, with no window manager on it: a virtual
// display on the first free number.
class BareXServer {
public:
    BareXServer();
    ~BareXServer();
    BareXServer(const BareXServer&) = delete;
    BareXServer& operator=(const BareXServer&) = delete;

    // Waits until the server names its display; false when it did not come up.
    bool waitReady();
    // ":N", empty before the server is ready.
    const QByteArray& displayName() const { return displayName_; }
    // Ends the server as a logout does, and waits for its end.
    bool stop();

private:
    QProcess process_;
    QByteArray displayName_;
};

}  // namespace orvane::integration
