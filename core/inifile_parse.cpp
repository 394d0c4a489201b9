#include "core/inifile_parse.h"

#include "core/platform/platform.h"
#include "core/text.h"

namespace orvane::ini {

namespace {

constexpr std::size_t maxValueLength = 2047;

// The name of a section header line, or nullopt for any other line.
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

struct KeyLine {
    std::u16string key;
    std::u16string rawValue;
};

std::optional<KeyLine> keyLine(std::u16string_view line) {
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) return std::nullopt;
    return KeyLine{trim(line.substr(0, equals)), std::u16string(line.substr(equals + 1))};
}

// The lines of the first matching section: [first, end) after its header.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> findSection(const std::vector<std::u16string>& lines,
                                        std::u16string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i]);
        if (!name || !platform::sameText(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !sectionName(lines[end])) ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<std::u16string>& lines,
                                   const SectionRange& range, std::u16string_view key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto entry = keyLine(lines[i]);
        if (entry && platform::sameText(entry->key, key)) return i;
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

std::optional<std::u16string> findValue(const std::vector<std::u16string>& lines,
                                        std::u16string_view section, std::u16string_view key) {
    const auto range = findSection(lines, section);
    if (!range) return std::nullopt;
    const auto at = findKey(lines, *range, key);
    if (!at) return std::nullopt;
    return limited(unquoted(trim(keyLine(lines[*at])->rawValue)));
}

Placement placeValue(const std::vector<std::u16string>& lines, std::u16string_view section,
                     std::u16string_view key, std::u16string_view value) {
    const auto range = findSection(lines, section);
    if (!range) {
        return {lines.size(), false,
                {u"[" + std::u16string(section) + u"]",
                 std::u16string(key) + u"=" + singleLine(value)}};
    }
    if (const auto at = findKey(lines, *range, key)) {
        return {*at, true, {keyLine(lines[*at])->key + u"=" + singleLine(value)}};
    }
    std::size_t insertAt = range->end;
    while (insertAt > range->header + 1 && trim(lines[insertAt - 1]).empty()) --insertAt;
    return {insertAt, false, {std::u16string(key) + u"=" + singleLine(value)}};
}

}  // namespace orvane::ini
