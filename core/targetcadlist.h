#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/linefile.h"
#include "core/sortedlist.h"

namespace orvane {

inline constexpr char16_t kTargetCADListFileName[] = u"TargetCAD_APIVersion.txt";

// The label of the first line, in file order, that contains TAB + progId:
// the text before the TAB where that match starts. nullopt when the file is
// missing or no line matches. A file that exists but cannot be read throws.
std::optional<std::u16string> FindTargetCADName(std::u16string_view programDirectory,
                                                std::u16string_view progId);

struct TargetCADEntry {
    std::u16string label;
    std::u16string progId;
    friend bool operator==(const TargetCADEntry&, const TargetCADEntry&) = default;
};

// Splits an entry at its first TAB; without a TAB the label is empty and the
// ProgID is the whole entry.
TargetCADEntry splitTargetCADEntry(std::u16string_view entry);

// The target CAD dialog's list model over programDirectory +
// "TargetCAD_APIVersion.txt". Entries in display order, one selection or none.
class TargetCADList {
public:
    explicit TargetCADList(std::u16string programDirectory);

    const std::u16string& path() const noexcept { return path_; }
    const SortedList& entries() const noexcept { return list_; }
    std::size_t count() const noexcept { return list_.count(); }
    std::optional<std::size_t> selectedIndex() const noexcept { return list_.selectedIndex(); }
    // nullopt until the file has been read once; Save then writes ANSI.
    std::optional<TextEncoding> readEncoding() const noexcept { return readEncoding_; }

    // Selection by the user (list click, type-ahead); out of range throws listIndexError.
    void select(std::optional<std::size_t> index) { list_.select(index); }

    // If the file exists: entries := its lines in sorted order, no selection,
    // encoding remembered; returns true. Otherwise changes nothing and returns
    // false. A read failure throws and leaves the list as it was.
    bool Reload();
    // Selects the first entry, in display order, containing TAB + progId and
    // returns its index; with no match the selection stays and nullopt is returned.
    std::optional<std::size_t> SelectProgID(std::u16string_view progId);
    // Out of range throws listIndexError.
    TargetCADEntry SplitEntry(std::size_t index) const;
    // Inserts label + TAB + progId at its sorted position and selects the first
    // entry equal to it without regard to case. Throws Error("行を挿入できません")
    // when memory runs out.
    std::size_t AddEntry(std::u16string_view label, std::u16string_view progId);
    // Removes the selected entry and selects its successor, else its
    // predecessor, else nothing. With no selection nothing is removed and
    // nullopt is returned; the dialog then decides (clear its fields, and
    // throw listIndexError(-1) unless the list is empty).
    std::optional<std::size_t> DeleteSelected();
    // Replaces the selected entry in place without sorting; it stays selected.
    // With no selection throws listIndexError(-1) and changes nothing.
    void ChangeSelected(std::u16string_view label, std::u16string_view progId);
    // Writes every entry in display order, CR LF after each, in the read
    // encoding (ANSI without a mark when never read). Atomic replacement.
    void Save() const;

private:
    std::u16string path_;
    SortedList list_;
    std::optional<TextEncoding> readEncoding_;
};

}  // namespace orvane
