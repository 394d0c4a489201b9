#include "core/error.h"

#include "core/paths.h"
#include "core/platform/platform.h"
#include "core/utf.h"

#include <algorithm>

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
    // The first character stays as it is, also when it takes two units.
    const bool pair = name.size() >= 2 && name[0] >= 0xD800 && name[0] <= 0xDBFF &&
                      name[1] >= 0xDC00 && name[1] <= 0xDFFF;
    const std::size_t first = std::min<std::size_t>(name.size(), pair ? 2 : 1);
    return name.substr(0, first) + platform::lowerCase(std::u16string_view(name).substr(first));
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
