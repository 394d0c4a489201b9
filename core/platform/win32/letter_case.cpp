#include "core/platform/platform.h"

#include <windows.h>

namespace orvane::platform {

std::u16string lowerCase(std::u16string_view text) {
    std::u16string lowered(text);
    // Names and titles only, far below the DWORD lengths the call takes.
    if (!lowered.empty()) {
        CharLowerBuffW(reinterpret_cast<wchar_t*>(lowered.data()),
                       static_cast<DWORD>(lowered.size()));
    }
    return lowered;
}

}  // namespace orvane::platform
