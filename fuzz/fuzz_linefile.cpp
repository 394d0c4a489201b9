// Line-file decoding on arbitrary bytes. The lines read from any file must be
// written back and read again unchanged, in the encoding they were read in
// and in every Unicode encoding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/linefile.h"
#include "fuzz/fuzz_check.h"

namespace {

bool hasLineBreakOrNul(const std::u16string& line) {
    return line.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string::npos;
}

void checkRoundTrip(const orvane::LineFileContent& content, orvane::TextEncoding encoding) {
    const orvane::LineFileContent again =
        orvane::decodeLines(orvane::encodeLines(content.lines, encoding));
    FUZZ_CHECK(again.lines == content.lines);
    // A text the code page cannot hold is written as UTF-8 with its mark.
    FUZZ_CHECK(again.encoding == encoding || (encoding == orvane::TextEncoding::Ansi &&
                                              again.encoding == orvane::TextEncoding::Utf8));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const orvane::LineFileContent content = orvane::decodeLines(bytes);

    for (const std::u16string& line : content.lines) FUZZ_CHECK(!hasLineBreakOrNul(line));
    if (bytes.empty() || bytes.front() == '\0') FUZZ_CHECK(content.lines.empty());

    checkRoundTrip(content, content.encoding);
    checkRoundTrip(content, orvane::TextEncoding::Utf8);
    checkRoundTrip(content, orvane::TextEncoding::Utf16LE);
    checkRoundTrip(content, orvane::TextEncoding::Utf16BE);
    return 0;
}
