#include "ui/searchtext.h"

#include <array>

#include "core/platform/platform.h"

namespace orvane::ui {

namespace {

// Full-width katakana for U+FF66 to U+FF9D, in order.
constexpr std::u16string_view kKatakana =
    u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
constexpr char16_t kHalfWidthFirstKana = 0xFF66;
constexpr char16_t kHalfWidthLastKana = 0xFF9D;
// Half-width punctuation before the kana: 。「」、・
constexpr std::array<char16_t, 5> kHalfWidthPunctuation = {u'。', u'「', u'」', u'、', u'・'};
constexpr char16_t kHalfWidthVoiced = 0xFF9E;
constexpr char16_t kHalfWidthSemiVoiced = 0xFF9F;

// Kana that a following voiced or semi-voiced mark joins; their marked forms
// follow them in the code chart.
constexpr std::u16string_view kVoiceable = u"カキクケコサシスセソタチツテトハヒフヘホ";
constexpr std::u16string_view kSemiVoiceable = u"ハヒフヘホ";

// The mark joins the kana before it where a marked kana exists.
void appendMark(std::u16string& out, bool semi) {
    if (!out.empty()) {
        char16_t& last = out.back();
        if (!semi && last == u'ウ') {
            last = u'ヴ';
            return;
        }
        if ((semi ? kSemiVoiceable : kVoiceable).find(last) != std::u16string_view::npos) {
            last = static_cast<char16_t>(last + (semi ? 2 : 1));
            return;
        }
    }
    out.push_back(semi ? u'゜' : u'゛');
}

void appendWide(std::u16string& out, char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
        out.push_back(static_cast<char16_t>(c - 0xFF01 + 0x21));
    } else if (c == 0x3000) {
        out.push_back(u' ');
    } else if (c >= 0xFF61 && c <= 0xFF65) {
        out.push_back(kHalfWidthPunctuation[c - 0xFF61]);
    } else if (c >= kHalfWidthFirstKana && c <= kHalfWidthLastKana) {
        out.push_back(kKatakana[c - kHalfWidthFirstKana]);
    } else if (c == kHalfWidthVoiced || c == kHalfWidthSemiVoiced) {
        appendMark(out, c == kHalfWidthSemiVoiced);
    } else {
        out.push_back(c);
    }
}

}  // namespace

std::u16string searchForm(std::u16string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (const char16_t c : text) {
        appendWide(wide, c);
    }
    return platform::lowerCase(wide);
}

}  // namespace orvane::ui
