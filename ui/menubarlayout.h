#pragma once

#include <string>
#include <vector>

#include "core/slotgrid.h"

namespace orvane::ui {

// One entry of a drop-down as a native menu shows it.
struct MenuBarItem {
    int number = 0;
    std::u16string caption;
    bool separator = false;
};

struct MenuBarMenu {
    int number = 0;
    std::u16string caption;
    std::vector<MenuBarItem> items;
};

// What a menu bar without hidden entries shows of the slot grid: the visible
// drop-downs in slot order, each with its visible items. An item captioned
// "-" is a separator; captions are kept as set, "&" included.
std::vector<MenuBarMenu> menuBarLayout(const SlotGrid& slots);

// The text a menu shows for a caption, without underlines: "&" marks the
// access key and is not shown, "&&" shows as "&".
std::u16string shownMenuText(std::u16string_view caption);

}  // namespace orvane::ui
