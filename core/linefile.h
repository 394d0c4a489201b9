#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct LineFileContent {
    std::vector<std::u16string> lines;
    TextEncoding encoding = TextEncoding::Ansi;
};

// Decodes a whole file's bytes: encoding from the byte order mark, lines at
// CR LF, CR or LF, text ends at a NUL.
LineFileContent decodeLines(std::string_view bytes);
// The text of a whole file's bytes by its byte order mark, before the split
// into lines.
std::u16string decodeText(std::string_view bytes, TextEncoding& encoding);
// The lines of decoded text as views into it, by the rules of decodeLines.
std::vector<std::u16string_view> splitLineViews(std::u16string_view text);
// Every line followed by CR LF, in the encoding with its mark.
std::string encodeLines(const std::vector<std::u16string>& lines, TextEncoding encoding);

// Throws Error with the file-open message when an existing file can't be read.
LineFileContent readLineFile(std::u16string_view path);
// Replaces the file atomically; throws Error with the file-creation message.
void writeLineFile(std::u16string_view path, const std::vector<std::u16string>& lines,
                   TextEncoding encoding);

}  // namespace orvane
