#include "cadlink/x11/x11property.h"

#include "cadlink/x11/x11errortrap.h"

namespace orvane::cadlink::x11 {

std::vector<unsigned long> readProperty32(Display* display, Window window, const char* name, Atom type,
                                          long maxItems) {
    std::vector<unsigned long> items;
    X11ErrorTrap trap(display);
    const Atom property = XInternAtom(display, name, True);
    if (property == None) {
        return items;
    }
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, maxItems, False, type, &actualType,
                                          &actualFormat, &count, &remaining, &data);
    if (status == Success && !trap.failed() && data != nullptr && actualFormat == 32 && actualType == type) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        items.assign(values, values + count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return items;
}

}  // namespace orvane::cadlink::x11
