#include "core/platform/platform.h"

#include "core/platform/win32/ansi_code_page.h"
#include "core/platform/win32/handle.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace orvane::platform {

namespace {

std::u16string fromWide(const wchar_t* text, std::size_t length) {
    return std::u16string(text, text + length);
}

}  // namespace

std::u16string programPath() {
    // Paths may be up to 32767 characters long; grow until the whole fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return {};
        if (length < size) return fromWide(buffer.data(), length);
        if (buffer.size() > 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::u16string decodeAnsi(std::string_view bytes) { return decodeCodePage(CP_ACP, bytes); }

std::optional<std::string> encodeAnsi(std::u16string_view text) {
    return encodeCodePage(CP_ACP, text);
}

bool ansiIsUtf8() { return GetACP() == CP_UTF8; }

std::u16string errorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text = buffer != nullptr ? fromWide(buffer, length) : std::u16string();
    LocalFree(buffer);
    // The messages end in a line break and a full stop; the error box adds
    // its own.
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' ||
                             text.back() == u'.' || text.back() == u'。')) {
        text.pop_back();
    }
    if (text.empty()) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(error));
        text.assign(code, code + std::char_traits<char>::length(code));
    }
    return text;
}

std::u16string lastErrorText() { return errorText(GetLastError()); }

}  // namespace orvane::platform
