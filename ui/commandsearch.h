#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/slotgrid.h"

namespace orvane::ui {

// An item slot the command search can find.
struct SearchItem {
    // As the menu shows it, and the title of its drop-down.
    std::u16string caption;
    std::u16string menuTitle;
    int slotNumber = 0;
    // The list file the item comes from.
    std::u16string listName;
};

// The items of a grid filled from a list that a click could reach: visible
// items of visible drop-downs, no separators, in menu order.
std::vector<SearchItem> searchableItems(const SlotGrid& slots, std::u16string_view listName);

// Finds items by typed words: every word must occur in the caption as its
// menu shows it, case and width aside. Captions that start with the typed text come first, then
// those where every word starts a word of the caption, then the rest; menu
// order within each.
class CommandSearch {
public:
    static constexpr std::size_t kMaxShown = 15;

    explicit CommandSearch(std::vector<SearchItem> items);

    // At most kMaxShown items, best first; none for a text without words.
    std::vector<const SearchItem*> find(std::u16string_view text) const;

    const std::vector<SearchItem>& items() const noexcept { return items_; }

private:
    std::vector<SearchItem> items_;
    std::vector<std::u16string> forms_;
};

}  // namespace orvane::ui
