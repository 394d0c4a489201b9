#include "core/platform/platform.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <limits>
#include <memory>

namespace orvane::platform {

namespace {

struct CollatorCloser {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};

// The user's collation, opened once; secondary strength ignores letter case.
UCollator* userCollator() {
    static const std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* opened = ucol_open("", &status);
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            opened = ucol_open("root", &status);
        }
        if (opened != nullptr) ucol_setStrength(opened, UCOL_SECONDARY);
        return std::unique_ptr<UCollator, CollatorCloser>(opened);
    }();
    return collator.get();
}

int32_t icuLength(std::u16string_view text) {
    return static_cast<int32_t>(
        std::min<std::size_t>(text.size(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

int compareText(std::u16string_view a, std::u16string_view b) {
    if (UCollator* collator = userCollator()) {
        switch (ucol_strcoll(collator, a.data(), icuLength(a), b.data(), icuLength(b))) {
        case UCOL_LESS:
            return -1;
        case UCOL_GREATER:
            return 1;
        case UCOL_EQUAL:
            break;
        }
        return 0;
    }
    UErrorCode status = U_ZERO_ERROR;
    return u_strCaseCompare(a.data(), icuLength(a), b.data(), icuLength(b), U_FOLD_CASE_DEFAULT,
                            &status);
}

bool sameText(std::u16string_view a, std::u16string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t order = u_strCaseCompare(a.data(), icuLength(a), b.data(), icuLength(b),
                                           U_FOLD_CASE_DEFAULT, &status);
    return U_SUCCESS(status) && order == 0;
}

}  // namespace orvane::platform
