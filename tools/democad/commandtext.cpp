#include "tools/democad/commandtext.h"

namespace democad {

std::u16string escapedCommandText(std::u16string_view text) {
    static constexpr char16_t hexDigits[] = u"0123456789abcdef";
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        switch (c) {
        case u'\\':
            out += u"\\\\";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\t':
            out += u"\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += u"\\x";
                out += hexDigits[c >> 4];
                out += hexDigits[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    return out;
}

}  // namespace democad
