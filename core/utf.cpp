#include "core/utf.h"

#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <limits>

namespace orvane {

namespace {

constexpr UChar32 replacementCharacter = 0xFFFD;
constexpr char16_t escapedByteBase = 0xDC00;

// ICU takes int32_t lengths; longer inputs are converted in pieces that end on
// a code point boundary so no sequence is split.
constexpr std::size_t maxPiece = std::numeric_limits<int32_t>::max() / 4;

std::size_t utf16PieceEnd(std::u16string_view text, std::size_t start) {
    std::size_t end = std::min(text.size(), start + maxPiece);
    if (end < text.size() && end > start && U16_IS_LEAD(text[end - 1])) {
        --end;
    }
    return end;
}

std::size_t utf8PieceEnd(std::string_view bytes, std::size_t start) {
    std::size_t end = std::min(bytes.size(), start + maxPiece);
    while (end < bytes.size() && end > start &&
           U8_IS_TRAIL(static_cast<unsigned char>(bytes[end]))) {
        --end;
    }
    return end;
}

void appendUtf8(std::string& out, std::u16string_view piece) {
    const auto length = static_cast<int32_t>(piece.size());
    int32_t needed = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(nullptr, 0, &needed, piece.data(), length, replacementCharacter,
                       nullptr, &status);
    const std::size_t offset = out.size();
    out.resize(offset + static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data() + offset, needed, &needed, piece.data(), length,
                       replacementCharacter, nullptr, &status);
}

std::size_t pieceFromUtf8(std::string_view piece, char16_t* out) {
    const auto length = static_cast<int32_t>(piece.size());
    int32_t written = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out, length, &written, piece.data(), length, replacementCharacter, nullptr, &status);
    return static_cast<std::size_t>(written);
}

}  // namespace

std::string toUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = utf16PieceEnd(text, start);
        appendUtf8(out, text.substr(start, end - start));
        start = end;
    }
    return out;
}

std::u16string fromUtf8(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    out.resize(fromUtf8Into(bytes, out.data()));
    return out;
}

std::size_t fromUtf8Into(std::string_view bytes, char16_t* out) {
    std::size_t written = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = utf8PieceEnd(bytes, start);
        written += pieceFromUtf8(bytes.substr(start, end - start), out + written);
        start = end;
    }
    return written;
}

std::u16string fromFileNameBytes(std::string_view bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    // Names, paths and the settings lines that hold them are read at most
    // kMaxReadBytes long, far below the int32_t lengths ICU steps with.
    const auto length = static_cast<int32_t>(bytes.size());
    std::u16string out;
    out.reserve(bytes.size());
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(data, i, length, c);
        if (c < 0) {
            out.push_back(static_cast<char16_t>(escapedByteBase + data[start]));
            i = start + 1;
        } else if (c > 0xFFFF) {
            out.push_back(U16_LEAD(c));
            out.push_back(U16_TRAIL(c));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

std::string toFileNameBytes(std::u16string_view name) {
    std::string out;
    out.reserve(name.size());
    const auto length = static_cast<int32_t>(name.size());
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c = 0;
        U16_NEXT(name.data(), i, length, c);
        const bool pair = i - start == 2;
        if (!pair && c >= escapedByteBase + 0x80 && c <= escapedByteBase + 0xFF) {
            out.push_back(static_cast<char>(c - escapedByteBase));
            continue;
        }
        if (!pair && U16_IS_SURROGATE(c)) c = replacementCharacter;
        char buffer[U8_MAX_LENGTH];
        int32_t written = 0;
        U8_APPEND_UNSAFE(buffer, written, c);
        out.append(buffer, static_cast<std::size_t>(written));
    }
    return out;
}

}  // namespace orvane
