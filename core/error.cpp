#include "core/error.h"

#include "core/paths.h"
#include "core/utf.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace orvane {

Error::Error(std::u16string message)
    : std::runtime_error(toUtf8(message)), message_(std::move(message)) {}

std::u16string errorBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.') text.push_back(u'.');
    return text;
}

std::u16string applicationTitle(std::u16string_view programPath) {
    std::u16string name = extractFileName(programPath);
    name = name.substr(0, name.find(u'.'));
    std::u16string title;
    const auto length = static_cast<int32_t>(name.size());
    for (int32_t at = 0; at < length;) {
        const int32_t start = at;
        UChar32 c = 0;
        U16_NEXT(name.data(), at, length, c);
        const UChar32 shown = start == 0 ? c : u_tolower(c);
        if (U_IS_BMP(shown)) {
            title.push_back(static_cast<char16_t>(shown));
        } else {
            title.push_back(static_cast<char16_t>(U16_LEAD(shown)));
            title.push_back(static_cast<char16_t>(U16_TRAIL(shown)));
        }
    }
    return title;
}

std::u16string formatMessage(std::u16string_view pattern,
                             std::initializer_list<std::u16string_view> args) {
    std::u16string result;
    auto next = args.begin();
    std::size_t start = 0;
    for (std::size_t at = pattern.find(u"%s"); at != std::u16string_view::npos && next != args.end();
         at = pattern.find(u"%s", start)) {
        result.append(pattern.substr(start, at - start));
        result.append(*next++);
        start = at + 2;
    }
    result.append(pattern.substr(start));
    return result;
}

}  // namespace orvane
