#include "core/slotgrid.h"

#include "core/text.h"

namespace orvane {

SlotGrid::SlotGrid() {
    slots_.reserve(kSlotCount);
    for (int m = 1; m <= kMenuSlotCount; ++m) {
        for (int k = 0; k <= kItemSlotsPerMenu; ++k) {
            const int number = m * 100 + k;
            slots_.push_back(Slot{number, slotName(number), intToText(number), true});
        }
    }
}

bool SlotGrid::exists(int number) noexcept {
    const int m = number / 100;
    const int k = number % 100;
    return number > 0 && m >= 1 && m <= kMenuSlotCount && k <= kItemSlotsPerMenu;
}

std::u16string SlotGrid::slotName(int number) {
    return u"N" + intToText(number) + u"1";
}

std::optional<int> SlotGrid::numberFromName(std::u16string_view name) {
    if (name.size() < 3 || name.front() != u'N' || name.back() != u'1') {
        return std::nullopt;
    }
    const std::u16string_view digits = name.substr(1, name.size() - 2);
    int number = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9' || number > 1000) {
            return std::nullopt;
        }
        number = number * 10 + (c - u'0');
    }
    // Leading zeros would name no slot: "N01001" is not "N1001".
    if (!exists(number) || slotName(number) != name) {
        return std::nullopt;
    }
    return number;
}

std::optional<std::size_t> SlotGrid::indexOf(int number) noexcept {
    if (!exists(number)) {
        return std::nullopt;
    }
    const int m = number / 100;
    const int k = number % 100;
    return static_cast<std::size_t>((m - 1) * (kItemSlotsPerMenu + 1) + k);
}

const Slot* SlotGrid::find(int number) const noexcept {
    const auto index = indexOf(number);
    return index ? &slots_[*index] : nullptr;
}

const Slot* SlotGrid::findByName(std::u16string_view name) const {
    const auto number = numberFromName(name);
    return number ? find(*number) : nullptr;
}

Slot* SlotGrid::findSlot(int number) noexcept {
    const auto index = indexOf(number);
    return index ? &slots_[*index] : nullptr;
}

std::u16string_view SlotGrid::heldPart(std::u16string_view text) noexcept {
    if (text.size() <= kMaxCaptionLength) {
        return text;
    }
    const char16_t last = text[kMaxCaptionLength - 1];
    const bool splitsPair = last >= 0xD800 && last <= 0xDBFF;
    return text.substr(0, splitsPair ? kMaxCaptionLength - 1 : kMaxCaptionLength);
}

void SlotGrid::setCaption(int number, std::u16string_view caption) {
    Slot* slot = findSlot(number);
    const std::u16string_view held = heldPart(caption);
    const bool cut = held.size() < caption.size();
    if (slot == nullptr || (slot->caption == held && slot->cut == cut)) {
        return;
    }
    slot->caption.assign(held);
    slot->cut = cut;
    if (onChange_) {
        onChange_(number);
    }
}

void SlotGrid::setVisible(int number, bool visible) {
    Slot* slot = findSlot(number);
    if (slot == nullptr || slot->visible == visible) {
        return;
    }
    slot->visible = visible;
    if (onChange_) {
        onChange_(number);
    }
}

}  // namespace orvane
