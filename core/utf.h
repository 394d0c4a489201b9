#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Conversions between UTF-16 and UTF-8. Malformed input becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view bytes);

// File names as the system keeps them: bytes, normally UTF-8. A byte outside
// any well-formed sequence becomes U+DC00 + its value (an unpaired surrogate
// from U+DC80 to U+DCFF) and turns back into that byte, so every name
// survives the trip to text and back.
std::u16string fromFileNameBytes(std::string_view bytes);
std::string toFileNameBytes(std::u16string_view name);

}  // namespace orvane
