#include "core/platform/posix/ansi_codec.h"

#include "core/utf.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <vector>

namespace orvane::platform {

namespace {

constexpr char16_t replacementCharacter = 0xFFFD;

std::string normalizedName(std::string_view name) {
    std::string result;
    for (char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            result.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        }
    }
    return result;
}

bool isUtf8Name(std::string_view name) { return normalizedName(name) == "utf8"; }

class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid()) iconv_close(handle_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
};

std::string utf16leBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

void appendUtf16le(std::u16string& out, const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
}

// One byte alone through iconv: the character, nullopt when the set rejects
// it, and a note when the byte starts a longer sequence.
struct ByteProbe {
    std::optional<char16_t> character;
    bool startsSequence = false;
};

ByteProbe probeByte(iconv_t cd, unsigned char byte) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char in = static_cast<char>(byte);
    char out[8];
    char* inPtr = &in;
    char* outPtr = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (result == static_cast<std::size_t>(-1)) {
        return ByteProbe{std::nullopt, errno == EINVAL};
    }
    if (sizeof out - outLeft != 2) return ByteProbe{std::nullopt, true};
    const char16_t c = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                             (static_cast<unsigned char>(out[1]) << 8));
    return ByteProbe{c, false};
}

}  // namespace

AnsiCodec::AnsiCodec(std::string codeset) : codeset_(std::move(codeset)), kind_(Kind::Utf8) {
    if (isUtf8Name(codeset_)) return;
    Iconv cd("UTF-16LE", codeset_.c_str());
    if (!cd.valid()) return;
    kind_ = Kind::SingleByte;
    for (unsigned byte = 0; byte < 256; ++byte) {
        const ByteProbe probe = probeByte(cd.get(), static_cast<unsigned char>(byte));
        if (probe.startsSequence) {
            kind_ = Kind::MultiByte;
            return;
        }
        table_[byte] = probe.character.value_or(static_cast<char16_t>(byte));
    }
}

std::u16string AnsiCodec::decode(std::string_view bytes) const {
    switch (kind_) {
    case Kind::Utf8:
        return fromUtf8(bytes);
    case Kind::SingleByte: {
        std::u16string text;
        text.reserve(bytes.size());
        for (char b : bytes) text.push_back(table_[static_cast<unsigned char>(b)]);
        return text;
    }
    case Kind::MultiByte:
        break;
    }
    return decodeMultiByte(bytes);
}

std::u16string AnsiCodec::decodeMultiByte(std::string_view bytes) const {
    Iconv cd("UTF-16LE", codeset_.c_str());
    std::u16string text;
    if (!cd.valid()) return std::u16string(bytes.size(), replacementCharacter);
    std::vector<char> buffer(4096);
    char* inPtr = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        const int failure = errno;
        appendUtf16le(text, buffer.data(), buffer.size() - outLeft);
        if (result != static_cast<std::size_t>(-1) || failure == E2BIG) continue;
        if (failure == EINVAL) break;
        // A malformed sequence: one U+FFFD for its first byte, then go on.
        text.push_back(replacementCharacter);
        ++inPtr;
        --inLeft;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    if (inLeft > 0) text.push_back(replacementCharacter);
    return text;
}

std::optional<std::string> AnsiCodec::encode(std::u16string_view text) const {
    if (kind_ == Kind::SingleByte) {
        std::string bytes;
        bytes.reserve(text.size());
        for (char16_t c : text) {
            const auto* found = std::find(table_.begin(), table_.end(), c);
            if (found == table_.end()) return std::nullopt;
            bytes.push_back(static_cast<char>(found - table_.begin()));
        }
        return bytes;
    }
    std::optional<std::string> bytes =
        kind_ == Kind::Utf8 ? std::optional(toUtf8(text)) : encodeWithIconv(text);
    // Only a form that reads back as the same text counts: this also catches
    // conversions iconv calls irreversible and unpaired surrogates.
    if (bytes && decode(*bytes) != text) return std::nullopt;
    return bytes;
}

std::optional<std::string> AnsiCodec::encodeWithIconv(std::u16string_view text) const {
    Iconv cd(codeset_.c_str(), "UTF-16LE");
    if (!cd.valid()) return std::nullopt;
    std::string input = utf16leBytes(text);
    std::string bytes;
    std::vector<char> buffer(4096);
    char* inPtr = input.data();
    std::size_t inLeft = input.size();
    for (bool flushed = false; !flushed;) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const bool finishing = inLeft == 0;
        const std::size_t result = finishing
                                       ? iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft)
                                       : iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        const int failure = errno;
        bytes.append(buffer.data(), buffer.size() - outLeft);
        if (result == static_cast<std::size_t>(-1)) {
            if (failure != E2BIG) return std::nullopt;
            continue;
        }
        flushed = finishing;
    }
    return bytes;
}

std::string localeCodeset() {
    locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        locale = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    }
    std::string codeset = "UTF-8";
    if (locale != static_cast<locale_t>(nullptr)) {
        const char* name = nl_langinfo_l(CODESET, locale);
        if (name != nullptr && *name != '\0') codeset = name;
        freelocale(locale);
    }
    // Plain ASCII would turn every other byte of a list into U+FFFD and lose
    // it on the next write; UTF-8 reads ASCII files the same way.
    if (normalizedName(codeset) == "ansix341968" || normalizedName(codeset) == "ascii") {
        codeset = "UTF-8";
    }
    return codeset;
}

const AnsiCodec& localeCodec() {
    static const AnsiCodec codec(localeCodeset());
    return codec;
}

}  // namespace orvane::platform
