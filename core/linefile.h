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
// Every line followed by CR LF, in the encoding with its mark.
std::string encodeLines(const std::vector<std::u16string>& lines, TextEncoding encoding);

// Throws Error with the file-open message when an existing file can't be read.
LineFileContent readLineFile(std::u16string_view path);
// Replaces the file atomically; throws Error with the file-creation message.
void writeLineFile(std::u16string_view path, const std::vector<std::u16string>& lines,
                   TextEncoding encoding);

}  // namespace orvane
