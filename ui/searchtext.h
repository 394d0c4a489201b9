#pragma once

#include <string>
#include <string_view>

namespace orvane::ui {

// A text as the command search compares it: letters in lower case as the
// system maps them, and full-width ASCII, the ideographic space and
// half-width katakana in their other widths (a half-width voiced mark joins
// the kana before it), so that neither case nor width tells texts apart.
std::u16string searchForm(std::u16string_view text);

}  // namespace orvane::ui
