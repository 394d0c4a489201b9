#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct LineFileContent {
    std::vector<std::u16string> lines;
    TextEncoding encoding = TextEncoding::Ansi;
};

// The encoding a file's byte order mark names and the mark's length in
// bytes; Ansi and 0 without a mark.
struct ByteOrderMark {
    TextEncoding encoding = TextEncoding::Ansi;
    std::size_t size = 0;
};
ByteOrderMark detectMark(std::string_view bytes);
// The mark written for an encoding; none for the ANSI code page.
std::string_view markOf(TextEncoding encoding);
// Text in an encoding, without a mark; malformed input becomes U+FFFD.
std::u16string decodeAs(std::string_view bytes, TextEncoding encoding);
// Text in an encoding, without a mark; nullopt when the ANSI code page lacks
// some character.
std::optional<std::string> encodeAs(std::u16string_view text, TextEncoding encoding);

// Decodes a whole file's bytes: encoding from the byte order mark, lines at
// CR LF, CR or LF, text ends at a NUL.
LineFileContent decodeLines(std::string_view bytes);
// Hands the lines of a whole file's bytes, by the rules of decodeLines, to
// take one at a time, until take returns false. Only one line is decoded at a
// time, so a file of a few huge lines costs no copy of its whole text.
using LineTaker = std::function<bool(std::u16string_view line)>;
void forEachLine(std::string_view bytes, const LineTaker& take);
// Every line followed by CR LF, in the encoding with its mark.
std::string encodeLines(const std::vector<std::u16string>& lines, TextEncoding encoding);

// Throws Error with the file-open message when an existing file can't be read.
LineFileContent readLineFile(std::u16string_view path);
// Replaces the file atomically; throws Error with the file-creation message.
void writeLineFile(std::u16string_view path, const std::vector<std::u16string>& lines,
                   TextEncoding encoding);

}  // namespace orvane
