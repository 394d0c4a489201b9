#include "core/platform/win32/ansi_code_page.h"

#include <windows.h>

namespace orvane::platform {

std::u16string decodeCodePage(unsigned codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    // Menu lists and settings are read at most kMaxReadBytes long, within int.
    const int length = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::u16string text(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()),
                        units);
    return text;
}

std::optional<std::string> encodeCodePage(unsigned codePage, std::u16string_view text) {
    if (text.empty()) return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    // No best fit, and the default character reported rather than written.
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0,
                                         nullptr, &usedDefault);
    if (size == 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, nullptr,
                        &usedDefault);
    // Only a form that reads back as the same text counts: this also catches
    // unpaired surrogates.
    if (usedDefault || decodeCodePage(codePage, bytes) != text) return std::nullopt;
    return bytes;
}

}  // namespace orvane::platform
