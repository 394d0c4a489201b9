#include "core/inifile_parse.h"

#include <algorithm>
#include <utility>

#include "core/platform/platform.h"
#include "core/text.h"

namespace orvane::ini {

namespace {

constexpr std::size_t maxValueLength = 2047;

struct KeyLine {
    std::u16string key;
    std::u16string rawValue;
};

std::optional<KeyLine> keyLine(std::u16string_view line) {
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) return std::nullopt;
    return KeyLine{trim(line.substr(0, equals)), std::u16string(line.substr(equals + 1))};
}

std::optional<std::size_t> findKey(const std::vector<std::u16string>& section,
                                   std::u16string_view key) {
    for (std::size_t i = 0; i < section.size(); ++i) {
        const auto entry = keyLine(section[i]);
        if (entry && sameName(entry->key, key)) return i;
    }
    return std::nullopt;
}

std::u16string unquoted(std::u16string value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == u'"' || value.front() == u'\'')) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::u16string limited(std::u16string value) {
    if (value.size() <= maxValueLength) return value;
    value.resize(maxValueLength);
    // Never leave half of a surrogate pair behind.
    if (value.back() >= 0xD800 && value.back() <= 0xDBFF) value.pop_back();
    return value;
}

// A line break inside a value would split it into lines of its own on the
// next read, letting the value forge other keys; it is written as a blank.
std::u16string singleLine(std::u16string_view value) {
    std::u16string line(value);
    for (char16_t& c : line) {
        if (c == u'\r' || c == u'\n' || c == u'\0') c = u' ';
    }
    return line;
}

}  // namespace

std::optional<std::u16string> sectionName(std::u16string_view line) {
    // Most lines of a large file are no header; they are told apart without
    // copying them.
    std::size_t first = 0;
    while (first < line.size() && line[first] <= u' ') ++first;
    if (first == line.size() || line[first] != u'[') return std::nullopt;
    const std::u16string trimmed = trim(line);
    if (!trimmed.starts_with(u'[')) return std::nullopt;
    const std::size_t close = trimmed.rfind(u']');
    if (close == std::u16string::npos || close == 0) return std::nullopt;
    return trim(std::u16string_view(trimmed).substr(1, close - 1));
}

bool sameName(std::u16string_view a, std::u16string_view b) {
    // Case folding turns each ASCII character into one ASCII character, so an
    // ASCII start decides alone where it differs; the lookups of a large file
    // compare thousands of names, nearly all of them ASCII.
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; };
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] >= 0x80 || b[i] >= 0x80) return platform::sameText(a, b);
        if (lower(a[i]) != lower(b[i])) return false;
    }
    const std::u16string_view rest = (a.size() > b.size() ? a : b).substr(common);
    if (std::all_of(rest.begin(), rest.end(), [](char16_t c) { return c < 0x80; })) {
        return rest.empty();
    }
    return platform::sameText(a, b);
}

std::optional<std::u16string> findValue(const std::vector<std::u16string>& section,
                                        std::u16string_view key) {
    const auto at = findKey(section, key);
    if (!at) return std::nullopt;
    return limited(unquoted(trim(keyLine(section[*at])->rawValue)));
}

Placement placeValue(const std::vector<std::u16string>& section, std::u16string_view key,
                     std::u16string_view value) {
    if (const auto at = findKey(section, key)) {
        return {*at, true, {keyLine(section[*at])->key + u"=" + singleLine(value)}};
    }
    std::size_t insertAt = section.size();
    while (insertAt > 0 && trim(section[insertAt - 1]).empty()) --insertAt;
    return {insertAt, false, {std::u16string(key) + u"=" + singleLine(value)}};
}

std::vector<std::u16string> newSection(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view value) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on u"[" + text at -O2.
    std::u16string header(u"[");
    header.append(section).append(u"]");
    return {std::move(header), std::u16string(key) + u"=" + singleLine(value)};
}

}  // namespace orvane::ini
