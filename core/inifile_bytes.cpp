#include "core/inifile_bytes.h"

#include <algorithm>

#include "core/inifile_parse.h"
#include "core/utf.h"

namespace orvane::ini {

IniDocument::IniDocument(std::string bytes) : bytes_(std::move(bytes)) {
    const ByteOrderMark mark = detectMark(bytes_);
    encoding_ = mark.encoding;
    textBegin_ = mark.size;
    headers_ = headersIn(textBegin_, bytes_.size());
}

std::vector<IniDocument::Header> IniDocument::headersIn(std::size_t from, std::size_t to) const {
    const IniUnits units = this->units();
    std::vector<Header> headers;
    for (const LinePlace& place : units.headerCandidates(from, to)) {
        if (auto name = sectionName(units.decode(place))) headers.push_back({place, std::move(*name)});
    }
    return headers;
}

std::optional<std::size_t> IniDocument::findSection(std::u16string_view section) const {
    for (std::size_t i = 0; i < headers_.size(); ++i) {
        if (sameName(headers_[i].name, section)) return i;
    }
    return std::nullopt;
}

IniDocument::Section IniDocument::sectionOf(std::size_t header) const {
    const IniUnits units = this->units();
    Section section;
    section.end = header + 1 < headers_.size() ? headers_[header + 1].place.begin : bytes_.size();
    for (std::size_t at = headers_[header].place.end; at < section.end;) {
        section.places.push_back(units.lineAt(at));
        section.lines.push_back(units.decode(section.places.back()));
        at = section.places.back().end;
    }
    return section;
}

std::optional<std::u16string> IniDocument::value(std::u16string_view section,
                                                 std::u16string_view key) const {
    const auto header = findSection(section);
    if (!header) return std::nullopt;
    return findValue(sectionOf(*header).lines, key);
}

bool IniDocument::setValue(std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) {
    std::vector<std::u16string> lines;
    std::optional<LinePlace> replaced;
    std::size_t insertAt = bytes_.size();
    if (const auto header = findSection(section)) {
        const Section lookedUp = sectionOf(*header);
        Placement placement = placeValue(lookedUp.lines, key, value);
        lines = std::move(placement.text);
        if (placement.line < lookedUp.places.size()) {
            insertAt = lookedUp.places[placement.line].begin;
            if (placement.replaces) replaced = lookedUp.places[placement.line];
        } else {
            insertAt = lookedUp.end;
        }
    } else {
        lines = newSection(section, key, value);
    }

    const std::string lineEnd = encodeAs(u"\r\n", encoding_).value_or("\r\n");
    std::string text;
    bool breaksInside = false;
    for (const std::u16string& line : lines) {
        const std::optional<std::string> encoded = encodeLine(line, encoding_);
        if (!encoded) {
            // Text the code page lacks: the whole file moves to UTF-8 if
            // nothing else is lost on the way.
            const std::optional<std::string> utf8 = asUtf8();
            if (!utf8) return false;
            IniDocument migrated(*utf8);
            if (!migrated.setValue(section, key, value)) return false;
            *this = std::move(migrated);
            return true;
        }
        breaksInside = breaksInside || IniUnits(*encoded, encoding_).hasLineBreak(0, encoded->size());
        text += *encoded;
        if (!replaced) text += lineEnd;
    }

    const IniUnits units = this->units();
    const std::size_t lastLine = units.lastLineStart(textBegin_);
    if (replaced) {
        // The line keeps its own line end.
        text += std::string_view(bytes_).substr(replaced->contentEnd,
                                                replaced->end - replaced->contentEnd);
        splice(replaced->begin, replaced->end, text);
    } else if (insertAt == bytes_.size() && lastLine < bytes_.size()) {
        // A dangling odd byte of UTF-16 would shift every unit after it.
        if (units.isUtf16() && bytes_.size() % 2 != 0) return false;
        // The last line gets its line end, or the new lines would join it.
        text.insert(0, bytes_.substr(lastLine) + lineEnd);
        splice(lastLine, bytes_.size(), text);
    } else {
        splice(insertAt, insertAt, text);
    }
    // A unit of a line break inside the written text (a name given with
    // one) makes other lines than the written ones, and may join a lone CR
    // before them; the whole file is indexed again then.
    if (breaksInside) headers_ = headersIn(textBegin_, bytes_.size());
    return true;
}

void IniDocument::splice(std::size_t from, std::size_t to, std::string_view text) {
    bytes_.replace(from, to - from, text);
    const auto beginsBefore = [](const Header& header, std::size_t at) {
        return header.place.begin < at;
    };
    const auto first = std::lower_bound(headers_.begin(), headers_.end(), from, beginsBefore);
    const auto after = std::lower_bound(first, headers_.end(), to, beginsBefore);
    for (auto header = after; header != headers_.end(); ++header) {
        LinePlace& place = header->place;
        place = {place.begin - to + from + text.size(), place.contentEnd - to + from + text.size(),
                 place.end - to + from + text.size()};
    }
    std::vector<Header> written = headersIn(from, from + text.size());
    const auto at = headers_.erase(first, after);
    headers_.insert(at, std::make_move_iterator(written.begin()),
                    std::make_move_iterator(written.end()));
}

std::optional<std::string> IniDocument::asUtf8() const {
    const IniUnits units = this->units();
    std::string utf8(markOf(TextEncoding::Utf8));
    for (std::size_t at = textBegin_; at < bytes_.size();) {
        const LinePlace place = units.lineAt(at);
        const std::u16string line = units.decode(place);
        if (encodeAs(line, TextEncoding::Ansi) != units.contentOf(place)) return std::nullopt;
        utf8 += toFileNameBytes(line);
        utf8 += std::string_view(bytes_).substr(place.contentEnd, place.end - place.contentEnd);
        at = place.end;
    }
    return utf8;
}

std::optional<std::string> withValue(std::string_view bytes, std::u16string_view section,
                                     std::u16string_view key, std::u16string_view value) {
    IniDocument document{std::string(bytes)};
    if (!document.setValue(section, key, value)) return std::nullopt;
    return document.bytes();
}

}  // namespace orvane::ini
