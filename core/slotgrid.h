#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The menu bar's fixed grid: 15 drop-down slots (numbers 100, 200, ..., 1500)
// with 30 item slots each (m * 100 + 1 ... m * 100 + 30). Slot n is named
// "N" + n + "1": N1001 is the first drop-down, N1011 its first item.
inline constexpr int kMenuSlotCount = 15;
inline constexpr int kItemSlotsPerMenu = 30;
inline constexpr int kSlotCount = kMenuSlotCount * (kItemSlotsPerMenu + 1);
// The most UTF-16 units of a caption a slot holds and the menu shows; a
// longer text is cut, and the menu list it came from still holds the rest.
inline constexpr std::size_t kMaxCaptionLength = 256;

struct Slot {
    int number = 0;
    std::u16string name;
    // Stored and returned exactly as set, up to kMaxCaptionLength units; the
    // menu must not rewrite it.
    std::u16string caption;
    bool visible = true;
    // The caption is the start of a longer text.
    bool cut = false;

    bool isDropDown() const noexcept { return number % 100 == 0; }
};

class SlotGrid {
public:
    // Called with the slot number after a slot's caption or visibility changed.
    using ChangeHandler = std::function<void(int number)>;

    // Initial state: every slot visible, captioned with its decimal number.
    SlotGrid();

    static bool exists(int number) noexcept;
    static std::u16string slotName(int number);
    // The number of the slot with that name, nullopt when there is none.
    static std::optional<int> numberFromName(std::u16string_view name);

    // The part of a text that a slot holds as its caption: the first
    // kMaxCaptionLength units, or one less where a surrogate pair would split.
    static std::u16string_view heldPart(std::u16string_view text) noexcept;

    // nullptr for a number or name without a slot.
    const Slot* find(int number) const noexcept;
    const Slot* findByName(std::u16string_view name) const;

    // Operations on a number without a slot are skipped silently. The change
    // handler runs only when the value actually changes.
    // The caption's held part is copied into the slot's own storage, which
    // is kept from one load to the next; a longer caption marks the slot cut.
    void setCaption(int number, std::u16string_view caption);
    void setVisible(int number, bool visible);

    // All slots: per menu m = 1 to 15, the drop-down first, then items 1 to 30.
    const std::vector<Slot>& slots() const noexcept { return slots_; }

    void setChangeHandler(ChangeHandler handler) { onChange_ = std::move(handler); }

    // The path of the menu list last poured into the grid; empty before.
    const std::u16string& listPath() const noexcept { return listPath_; }
    void setListPath(std::u16string_view path) { listPath_.assign(path); }

private:
    static std::optional<std::size_t> indexOf(int number) noexcept;
    Slot* findSlot(int number) noexcept;

    std::vector<Slot> slots_;
    ChangeHandler onChange_;
    std::u16string listPath_;
};

}  // namespace orvane
