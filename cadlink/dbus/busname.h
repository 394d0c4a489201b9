#pragma once

#include <optional>
#include <string>
#include <string_view>

// The well-known bus name under which a CAD serves a ProgID: the prefix
// "org.orvane.ProgId." followed by the ProgID's "."-separated elements, each
// encoded on its own. ASCII letters and digits stay; every other character
// becomes "_" and two upper-case hex digits per UTF-8 byte; a leading digit
// is encoded the same way, so every element is a valid bus name element.
namespace orvane::cadlink::dbus {

inline constexpr std::string_view progIdBusNamePrefix = "org.orvane.ProgId.";
inline constexpr std::size_t maxBusNameLength = 255;

// Nothing for a ProgID that no CAD can serve: empty, an empty element, a lone
// surrogate, or a bus name longer than the bus allows.
std::optional<std::string> busNameForProgId(std::u16string_view progId);

// The inverse: the ProgID of a bus name, or nothing when the name is not the
// canonical encoding of one.
std::optional<std::u16string> progIdForBusName(std::string_view busName);

}  // namespace orvane::cadlink::dbus
