#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Class lookup by ProgID ignores the case of ASCII letters, and of nothing
// else; bus names keep the case a CAD spelt its ProgID in.
namespace orvane::cadlink::dbus {

bool sameProgId(std::u16string_view left, std::u16string_view right);

// Of the given bus names, the first in byte order whose ProgID is the same
// as progId; nothing when none is.
std::optional<std::string> busNameServing(std::u16string_view progId, const std::vector<std::string>& busNames);

}  // namespace orvane::cadlink::dbus
