#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// Conversions between UTF-16 and UTF-8. Malformed input becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view bytes);
// fromUtf8 into out, which has room for bytes.size() units: no sequence, and no
// malformed run replaced by U+FFFD, yields more units than it has bytes.
// Returns the units written.
std::size_t fromUtf8Into(std::string_view bytes, char16_t* out);

// File names as the system keeps them: bytes, normally UTF-8. A byte outside
// any well-formed sequence becomes U+DC00 + its value (an unpaired surrogate
// from U+DC80 to U+DCFF) and turns back into that byte, so every name
// survives the trip to text and back.
std::u16string fromFileNameBytes(std::string_view bytes);
std::string toFileNameBytes(std::u16string_view name);

}  // namespace orvane
