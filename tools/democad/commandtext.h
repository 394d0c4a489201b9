#pragma once

#include <string>
#include <string_view>

namespace democad {

// The text with backslash, CR, LF, TAB and other control characters written
// as escapes, so a line of the log holds it whole. Portable, for the demo
// CADs of every system.
std::u16string escapedCommandText(std::u16string_view text);

}  // namespace democad
