#include "app/qt/terminationsignal.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// Written by the signal handler, read by the event loop.
int signalPipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
}  // namespace

TerminationSignal::TerminationSignal(std::function<void()> onTerminate) : onTerminate_(std::move(onTerminate)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char signalNumber = 0;
        if (::read(signalPipe[1], &signalNumber, sizeof signalNumber) > 0 && onTerminate_) {
            onTerminate_();
        }
    });
    struct sigaction action {};
    action.sa_handler = &TerminationSignal::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

TerminationSignal::~TerminationSignal() {
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    delete notifier_;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
}

void TerminationSignal::handle(int signal) {
    const char signalNumber = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &signalNumber, sizeof signalNumber);
}
