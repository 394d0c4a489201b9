#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace orvane {

// "リストのインデックスが範囲を超えています (%d)" with the index in place of %d.
Error listIndexError(std::ptrdiff_t index);

// The list behind a list control: entries in display order and one selected
// entry or none. Adding keeps ascending order by the user's locale collation
// without regard to letter case; replacing an entry does not re-sort.
// Selecting by program runs no handler: the list has none.
class SortedList {
public:
    std::size_t count() const noexcept { return entries_.size(); }
    bool empty() const noexcept { return entries_.empty(); }
    // Throws listIndexError when index is out of range.
    const std::u16string& at(std::size_t index) const;
    const std::vector<std::u16string>& entries() const noexcept { return entries_; }

    // Inserts after every entry that does not compare greater, so entries that
    // compare equal keep their order of adding. Returns the new entry's index.
    // A selected entry stays selected (its index moves with it).
    std::size_t add(std::u16string text);
    // Replaces every entry with these, in the order adding them one by one to
    // an empty list would give, with nothing selected; n log n comparisons.
    void assign(std::vector<std::u16string> texts);
    // The first entry, in display order, whose whole text equals text without
    // regard to letter case.
    std::optional<std::size_t> find(std::u16string_view text) const;

    std::optional<std::size_t> selectedIndex() const noexcept { return selected_; }
    // The selected entry's text, or nullptr when none is selected.
    const std::u16string* selectedText() const;
    // nullopt clears the selection; an index out of range throws listIndexError.
    void select(std::optional<std::size_t> index);

    // Removes the entry; the selection follows its entry and is cleared when
    // the selected entry itself goes. Out of range throws listIndexError.
    void remove(std::size_t index);
    // Replaces the text in place, without sorting. Out of range throws listIndexError.
    void replace(std::size_t index, std::u16string text);
    // Removes every entry and the selection.
    void clear() noexcept;

private:
    std::vector<std::u16string> entries_;
    std::optional<std::size_t> selected_;
};

}  // namespace orvane
