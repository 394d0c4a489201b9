#include "cadlink/dbus/progidmatch.h"

#include "cadlink/dbus/busname.h"
#include "core/text.h"

namespace orvane::cadlink::dbus {

bool sameProgId(std::u16string_view left, std::u16string_view right) {
    return orvane::upperCase(left) == orvane::upperCase(right);
}

std::optional<std::string> busNameServing(std::u16string_view progId, const std::vector<std::string>& busNames) {
    std::optional<std::string> found;
    for (const std::string& busName : busNames) {
        if (found && busName >= *found) {
            continue;
        }
        const auto served = progIdForBusName(busName);
        if (served && sameProgId(*served, progId)) {
            found = busName;
        }
    }
    return found;
}

}  // namespace orvane::cadlink::dbus
