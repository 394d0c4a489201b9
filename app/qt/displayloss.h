#pragma once

#include <functional>

// Losing the X server ends the program on the spot: Qt's xcb connection and
// Xlib's default handler both call exit(1), and the shutdown sequence never
// runs. While an object of this class lives, such an end, or any other call
// of exit(), first runs save, once; the exit status stays what it was. save
// runs while the process is ending and must touch neither X nor a widget.
class DisplayLossSave final {
public:
    explicit DisplayLossSave(std::function<void()> save);
    ~DisplayLossSave();
    DisplayLossSave(const DisplayLossSave&) = delete;
    DisplayLossSave& operator=(const DisplayLossSave&) = delete;
};
