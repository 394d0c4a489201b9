#include "ui/commandsearch.h"

#include <algorithm>
#include <array>
#include <optional>

#include "ui/menubarlayout.h"
#include "ui/searchtext.h"

namespace orvane::ui {

namespace {

enum Rank { kStartsWithText, kWordStarts, kAnywhere, kRanks };

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::vector<std::u16string_view> wordsOf(std::u16string_view text) {
    std::vector<std::u16string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isBlank(text[at])) ++at;
        const std::size_t start = at;
        while (at < text.size() && !isBlank(text[at])) ++at;
        if (at > start) words.push_back(text.substr(start, at - start));
    }
    return words;
}

// A word of a caption starts after anything that is no letter or digit.
bool startsWord(std::u16string_view caption, std::size_t at) {
    if (at == 0) return true;
    const char16_t before = caption[at - 1];
    const bool alphanumeric = (before >= u'a' && before <= u'z') || (before >= u'0' && before <= u'9') ||
                              (before >= u'A' && before <= u'Z') || before >= 0x80;
    return !alphanumeric;
}

bool occursAtWordStart(std::u16string_view caption, std::u16string_view word) {
    for (std::size_t at = caption.find(word); at != std::u16string_view::npos; at = caption.find(word, at + 1)) {
        if (startsWord(caption, at)) return true;
    }
    return false;
}

std::optional<Rank> rankOf(std::u16string_view caption, std::u16string_view text,
                           const std::vector<std::u16string_view>& words) {
    bool atWordStarts = true;
    for (const std::u16string_view word : words) {
        if (caption.find(word) == std::u16string_view::npos) return std::nullopt;
        atWordStarts = atWordStarts && occursAtWordStart(caption, word);
    }
    if (caption.substr(0, text.size()) == text) return kStartsWithText;
    return atWordStarts ? kWordStarts : kAnywhere;
}

std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::vector<SearchItem> searchableItems(const SlotGrid& slots, std::u16string_view listName) {
    std::vector<SearchItem> items;
    for (const MenuBarMenu& menu : menuBarLayout(slots)) {
        for (const MenuBarItem& item : menu.items) {
            if (!item.separator) {
                items.push_back({item.caption, menu.caption, item.number, std::u16string(listName)});
            }
        }
    }
    return items;
}

CommandSearch::CommandSearch(std::vector<SearchItem> items) : items_(std::move(items)) {
    forms_.reserve(items_.size());
    for (const SearchItem& item : items_) {
        forms_.push_back(searchForm(shownMenuText(item.caption)));
    }
}

std::vector<const SearchItem*> CommandSearch::find(std::u16string_view text) const {
    const std::u16string form = searchForm(text);
    const std::u16string_view typed = trimmed(form);
    const std::vector<std::u16string_view> words = wordsOf(typed);
    std::vector<const SearchItem*> found;
    if (words.empty()) return found;
    std::array<std::vector<const SearchItem*>, kRanks> ranked;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (const auto rank = rankOf(forms_[i], typed, words)) {
            ranked[*rank].push_back(&items_[i]);
        }
    }
    for (const auto& group : ranked) {
        for (const SearchItem* item : group) {
            if (found.size() == kMaxShown) return found;
            found.push_back(item);
        }
    }
    return found;
}

}  // namespace orvane::ui
