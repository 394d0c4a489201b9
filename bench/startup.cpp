#include "bench/startup.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "bench/stats.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace orvane::bench {

namespace {

constexpr auto kBound = std::chrono::seconds(20);
// Time for the program to settle after mapping, before its peak memory is read.
constexpr auto kSettle = std::chrono::milliseconds(700);

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

long ownerPid(Display* display, Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
                           &type, &format, &count, &remaining, &data) == Success &&
        data != nullptr && format == 32 && count == 1) {
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data != nullptr) {
        XFree(data);
    }
    return pid;
}

bool isMappedClientOf(Display* display, Window window, pid_t pid) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 && !attributes.override_redirect &&
           attributes.map_state != IsUnmapped && ownerPid(display, window) == pid;
}

long peakResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::istringstream value(line.substr(6));
            long kib = 0;
            value >> kib;
            return kib;
        }
    }
    return 0;
}

pid_t spawn(const std::string& program) {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

}  // namespace

StartUp measureStartUp(const std::string& program) {
    StartUp result;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return result;
    }
    const XErrorHandler previous = XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    // New top-level windows show up here; each is then watched for its map.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);

    const auto start = Clock::now();
    const pid_t pid = spawn(program);
    bool mapped = false;
    while (!mapped && Clock::now() - start < kBound) {
        while (!mapped && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
                const Window window = event.xcreatewindow.window;
                XSelectInput(display, window, StructureNotifyMask | PropertyChangeMask);
                // It may have been mapped before the selection took effect.
                mapped = isMappedClientOf(display, window, pid);
            } else if (event.type == MapNotify || event.type == PropertyNotify) {
                mapped = isMappedClientOf(display, event.xany.window, pid);
            }
        }
        if (!mapped) {
            pollfd readable{ConnectionNumber(display), POLLIN, 0};
            poll(&readable, 1, 50);
        }
    }
    result.milliseconds = millisecondsSince(start);
    result.ok = mapped;
    if (mapped) {
        std::this_thread::sleep_for(kSettle);
        result.peakResidentKiB = peakResidentKiB(pid);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return result;
}

}  // namespace orvane::bench
