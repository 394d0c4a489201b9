#include "core/platform/platform.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace orvane::platform {

std::u16string lowerCase(std::u16string_view text) {
    std::u16string lowered;
    lowered.reserve(text.size());
    // Names and titles only, far below the int32_t lengths ICU steps with.
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t at = 0; at < length;) {
        UChar32 c = 0;
        U16_NEXT(text.data(), at, length, c);
        const UChar32 shown = u_tolower(c);
        if (U_IS_BMP(shown)) {
            lowered.push_back(static_cast<char16_t>(shown));
        } else {
            lowered.push_back(static_cast<char16_t>(U16_LEAD(shown)));
            lowered.push_back(static_cast<char16_t>(U16_TRAIL(shown)));
        }
    }
    return lowered;
}

}  // namespace orvane::platform
