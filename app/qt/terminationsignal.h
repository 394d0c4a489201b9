#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP, as a logout or a terminal sends them, reach
// the event loop as a call of onTerminate, so the program ends through its
// normal shutdown and keeps its settings.
class TerminationSignal final : public QObject {
public:
    explicit TerminationSignal(std::function<void()> onTerminate);
    ~TerminationSignal() override;

private:
    static void handle(int signal);

    std::function<void()> onTerminate_;
    QSocketNotifier* notifier_ = nullptr;
};
