#include "core/platform/platform.h"

#include "core/platform/posix/ansi_codec.h"
#include "core/platform/posix/error_text.h"
#include "core/utf.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace orvane::platform {

namespace {

// Both strerror_r flavours: the GNU one returns the text, the XSI one fills
// the buffer.
[[maybe_unused]] const char* reasonText(const char* text, const char*) { return text; }
[[maybe_unused]] const char* reasonText(int, const char* buffer) { return buffer; }

}  // namespace

std::u16string programPath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return fromFileNameBytes(
                std::string_view(buffer.data(), static_cast<std::size_t>(length)));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::u16string decodeAnsi(std::string_view bytes) { return localeCodec().decode(bytes); }

std::optional<std::string> encodeAnsi(std::u16string_view text) {
    return localeCodec().encode(text);
}

bool ansiIsUtf8() { return localeCodec().isUtf8(); }

std::u16string errorText(int error) {
    char buffer[256] = {};
    const char* text = reasonText(strerror_r(error, buffer, sizeof buffer), buffer);
    return decodeAnsi(text);
}

std::u16string lastErrorText() { return errorText(errno); }

}  // namespace orvane::platform
