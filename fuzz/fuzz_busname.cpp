// ProgID to bus name and back. Every name produced must be one the bus
// accepts and must decode to the same ProgID; every name that decodes must
// be the one its ProgID encodes to, so the mapping stays one to one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cadlink/dbus/busname.h"
#include "fuzz/fuzz_check.h"

namespace {

using orvane::cadlink::dbus::busNameForProgId;
using orvane::cadlink::dbus::maxBusNameLength;
using orvane::cadlink::dbus::progIdBusNamePrefix;
using orvane::cadlink::dbus::progIdForBusName;

bool isElementCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The bus's rule for a well-known name: at least two "."-separated
// elements of [A-Za-z0-9_-], none empty or starting with a digit, at most
// 255 characters. This encoding also keeps "-" out.
bool isValidBusName(std::string_view name) {
    if (name.empty() || name.size() > maxBusNameLength) return false;
    std::size_t elements = 0;
    for (std::size_t start = 0; start <= name.size(); ++elements) {
        std::size_t end = name.find('.', start);
        if (end == std::string_view::npos) end = name.size();
        const std::string_view element = name.substr(start, end - start);
        if (element.empty() || (element.front() >= '0' && element.front() <= '9')) return false;
        for (char c : element) {
            if (!isElementCharacter(c)) return false;
        }
        start = end + 1;
    }
    return elements >= 2;
}

// An odd first byte reads the rest as UTF-16LE units, so lone surrogates and
// characters beyond the BMP occur; otherwise each byte is one character.
std::u16string progIdFromBytes(std::string_view bytes) {
    std::u16string progId;
    if (!bytes.empty() && (static_cast<unsigned char>(bytes.front()) & 1) != 0) {
        for (std::size_t i = 1; i + 1 < bytes.size(); i += 2) {
            progId.push_back(
                static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        }
        return progId;
    }
    for (char c : bytes.substr(bytes.empty() ? 0 : 1)) {
        progId.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return progId;
}

bool isPlainProgId(std::u16string_view progId) {
    if (progId.empty() || progId.front() == u'.' || progId.back() == u'.') return false;
    for (std::size_t i = 0; i < progId.size(); ++i) {
        const char16_t c = progId[i];
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
        if (!letter && !(c == u'.' && progId[i - 1] != u'.')) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::u16string progId = progIdFromBytes(bytes);
    const auto busName = busNameForProgId(progId);
    if (busName) {
        FUZZ_CHECK(busName->starts_with(progIdBusNamePrefix));
        FUZZ_CHECK(isValidBusName(*busName));
        FUZZ_CHECK(progIdForBusName(*busName) == progId);
    }
    // Letters and dots stay as they are.
    if (isPlainProgId(progId) && progIdBusNamePrefix.size() + progId.size() <= maxBusNameLength) {
        FUZZ_CHECK(busName ==
                   std::string(progIdBusNamePrefix) + std::string(progId.begin(), progId.end()));
    }

    if (const auto decoded = progIdForBusName(bytes)) {
        FUZZ_CHECK(busNameForProgId(*decoded) == std::string(bytes));
    }
    return 0;
}
