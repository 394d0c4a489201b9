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

}  // namespace orvane::ui
