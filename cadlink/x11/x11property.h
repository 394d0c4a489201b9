#pragma once

#include <X11/Xlib.h>

#include <vector>

namespace orvane::cadlink::x11 {

// The first maxItems 32-bit items of a window property of the given type,
// empty when it is missing, of another type, or the window is gone. Format-32
// items come back as longs, whatever the size of long.
std::vector<unsigned long> readProperty32(Display* display, Window window, const char* name, Atom type,
                                          long maxItems = 1024);

}  // namespace orvane::cadlink::x11
