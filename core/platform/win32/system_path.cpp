#include "core/platform/win32/handle.h"

#include <vector>

namespace orvane::platform {

std::optional<std::wstring> toSystemPath(std::u16string_view path) {
    if (path.find(u'\0') != std::u16string_view::npos) return std::nullopt;
    const std::wstring given(path.begin(), path.end());
    // Already in a form the system takes as it stands (or a device).
    if (given.rfind(LR"(\\?\)", 0) == 0 || given.rfind(LR"(\\.\)", 0) == 0) return given;

    std::vector<wchar_t> full(given.size() + MAX_PATH);
    for (;;) {
        const DWORD length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()),
                                              full.data(), nullptr);
        if (length == 0) return given;
        if (length < full.size()) {
            full.resize(length);
            break;
        }
        full.resize(length + 1);
    }
    const std::wstring whole(full.begin(), full.end());
    if (whole.rfind(LR"(\\.\)", 0) == 0) return whole;
    if (whole.rfind(LR"(\\)", 0) == 0) return LR"(\\?\UNC\)" + whole.substr(2);
    if (whole.size() >= 3 && whole[1] == L':' && whole[2] == L'\\') return LR"(\\?\)" + whole;
    return whole;
}

}  // namespace orvane::platform
