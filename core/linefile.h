#pragma once

#include <cstddef>
#include <functional>
#include <memory>
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
// Takes one line's text; false when no more lines are wanted.
using LineTaker = std::function<bool(std::u16string_view line)>;

// Splits a file's bytes, fed in pieces, into the lines of decodeLines and
// hands each to take as soon as it has ended, so that only the line being
// read is held: a file of a few huge lines costs no copy of its whole text.
// Where the ANSI code page may carry state from one line into the next, the
// bytes are gathered and decoded whole at the end.
class LineSplitter {
public:
    explicit LineSplitter(LineTaker take);
    // False once take wanted no more lines or a NUL ended the text.
    bool feed(std::string_view piece);
    // Hands on the last line, which no line end closed.
    void finish();

private:
    void learnMark();
    bool takeLine(std::size_t start, std::size_t end);
    bool feedUnits();

    LineTaker take_;
    std::string pending_;
    std::size_t scanned_ = 0;
    bool markKnown_ = false;
    TextEncoding encoding_ = TextEncoding::Ansi;
    // Bytes per unit when lines can be split before decoding, 0 otherwise.
    std::size_t unitWidth_ = 0;
    bool afterCr_ = false;
    bool done_ = false;
    std::unique_ptr<char16_t[]> text_;
    std::size_t textRoom_ = 0;
};

// The lines of a whole file's bytes, one at a time, until take returns false.
void forEachLine(std::string_view bytes, const LineTaker& take);
// The same for a file, read in pieces; throws Error as readLineFile does.
void forEachLineOfFile(std::u16string_view path, const LineTaker& take);
// Every line followed by CR LF, in the encoding with its mark.
std::string encodeLines(const std::vector<std::u16string>& lines, TextEncoding encoding);

// Throws Error with the file-open message when an existing file can't be read.
LineFileContent readLineFile(std::u16string_view path);
// Replaces the file atomically; throws Error with the file-creation message.
void writeLineFile(std::u16string_view path, const std::vector<std::u16string>& lines,
                   TextEncoding encoding);

}  // namespace orvane
