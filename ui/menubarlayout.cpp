#include "ui/menubarlayout.h"

namespace orvane::ui {

std::vector<MenuBarMenu> menuBarLayout(const SlotGrid& slots) {
    std::vector<MenuBarMenu> menus;
    bool menuShown = false;
    for (const Slot& slot : slots.slots()) {
        if (slot.isDropDown()) {
            menuShown = slot.visible;
            if (menuShown) {
                menus.push_back({slot.number, slot.caption, {}});
            }
        } else if (menuShown && slot.visible) {
            menus.back().items.push_back({slot.number, slot.caption, slot.caption == u"-"});
        }
    }
    return menus;
}

std::u16string shownMenuText(std::u16string_view caption) {
    std::u16string shown;
    shown.reserve(caption.size());
    for (std::size_t at = 0; at < caption.size(); ++at) {
        if (caption[at] == u'&' && ++at == caption.size()) {
            break;
        }
        shown.push_back(caption[at]);
    }
    return shown;
}

}  // namespace orvane::ui
