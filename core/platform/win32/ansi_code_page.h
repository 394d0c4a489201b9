#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform {

// Text in one Windows code page (CP_ACP for the system's ANSI code page).
std::u16string decodeCodePage(unsigned codePage, std::string_view bytes);
// nullopt when some character has no form of its own in the code page:
// neither a look-alike nor "?" stands in for it.
std::optional<std::string> encodeCodePage(unsigned codePage, std::u16string_view text);

}  // namespace orvane::platform
