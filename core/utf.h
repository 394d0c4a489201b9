#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Conversions between UTF-16 and UTF-8. Malformed input becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view bytes);

}  // namespace orvane
