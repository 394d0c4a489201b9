#pragma once

#include <QProcess>
#include <QString>

namespace orvane::integration {

// A session bus daemon of the test's own at a fixed address, ended when the
// object goes, as a crash ends it.
class PrivateBus {
public:
    explicit PrivateBus(const QString& address);
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // The daemon listens at the address.
    bool isReady() const { return ready_; }

private:
    QProcess daemon_;
    bool ready_ = false;
};

}  // namespace orvane::integration
