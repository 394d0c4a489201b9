#include "core/platform/platform.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace orvane::platform {

namespace {

int length(std::u16string_view text) {
    return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

const wchar_t* wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

// The user's locale, without regard to letter case; CSTR_* or 0 on failure.
int compareInUserLocale(std::u16string_view a, std::u16string_view b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wide(a), length(a), wide(b),
                          length(b));
}

}  // namespace

int compareText(std::u16string_view a, std::u16string_view b) {
    switch (compareInUserLocale(a, b)) {
    case CSTR_LESS_THAN:
        return -1;
    case CSTR_GREATER_THAN:
        return 1;
    case CSTR_EQUAL:
        return 0;
    default:
        break;
    }
    return a.compare(b);
}

bool sameText(std::u16string_view a, std::u16string_view b) {
    return compareInUserLocale(a, b) == CSTR_EQUAL;
}

}  // namespace orvane::platform
