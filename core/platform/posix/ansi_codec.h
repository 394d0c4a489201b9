#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform {

// Text in one locale character set, by name as iconv knows it. Single-byte
// sets are decoded from a table so that bytes the set leaves undefined still
// map to the code point of the same number, as Windows code pages do;
// multi-byte sets go through iconv with U+FFFD for malformed sequences.
class AnsiCodec {
public:
    explicit AnsiCodec(std::string codeset);

    const std::string& codeset() const noexcept { return codeset_; }
    bool isUtf8() const noexcept { return kind_ == Kind::Utf8; }

    std::u16string decode(std::string_view bytes) const;
    // nullopt when some character has no form in the set.
    std::optional<std::string> encode(std::u16string_view text) const;

private:
    enum class Kind { Utf8, SingleByte, MultiByte };

    std::u16string decodeMultiByte(std::string_view bytes) const;
    std::optional<std::string> encodeWithIconv(std::u16string_view text) const;

    std::string codeset_;
    Kind kind_;
    std::array<char16_t, 256> table_{};
};

// The codec of the user's locale, looked up once.
const AnsiCodec& localeCodec();

// The name of the user's locale character set, ignoring the program's own
// setlocale calls. The plain ASCII set of the C locale counts as UTF-8.
std::string localeCodeset();

}  // namespace orvane::platform
