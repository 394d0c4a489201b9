#pragma once

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

struct Slot {
    int number = 0;
    std::u16string name;
    // Stored and returned exactly as set; the menu must not rewrite it.
    std::u16string caption;
    bool visible = true;

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

    // nullptr for a number or name without a slot.
    const Slot* find(int number) const noexcept;
    const Slot* findByName(std::u16string_view name) const;

    // Operations on a number without a slot are skipped silently. The change
    // handler runs only when the value actually changes.
    // The caption is copied into the slot's own storage, which is kept from
    // one load to the next.
    void setCaption(int number, std::u16string_view caption);
    void setVisible(int number, bool visible);

    // All slots: per menu m = 1 to 15, the drop-down first, then items 1 to 30.
    const std::vector<Slot>& slots() const noexcept { return slots_; }

    void setChangeHandler(ChangeHandler handler) { onChange_ = std::move(handler); }

private:
    static std::optional<std::size_t> indexOf(int number) noexcept;
    Slot* findSlot(int number) noexcept;

    std::vector<Slot> slots_;
    ChangeHandler onChange_;
};

}  // namespace orvane
