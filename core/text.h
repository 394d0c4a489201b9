#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// Text rules on UTF-16 text. Positions count from 1.

bool textEqual(std::u16string_view a, std::u16string_view b);

// Removes every character at or below U+0020 from both ends.
std::u16string trim(std::u16string_view text);

// Position of the first occurrence of sub in text, 0 when absent or when
// either is empty.
std::size_t findPos(std::u16string_view sub, std::u16string_view text);

// a to z become A to Z; nothing else changes.
std::u16string upperCase(std::u16string_view text);

std::u16string intToText(std::int64_t value);

// Decimal or hexadecimal ("$", "x", "X", "0x", "0X") 32-bit integer with
// optional leading blanks and one sign; anything else gives fallback.
std::int32_t strToIntDef(std::u16string_view text, std::int32_t fallback);

std::u16string replaceAll(std::u16string_view text, std::u16string_view from,
                          std::u16string_view to);

}  // namespace orvane
