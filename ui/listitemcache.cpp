#include "ui/listitemcache.h"

#include "core/error.h"
#include "core/menulist.h"

namespace orvane::ui {

std::optional<SlotGrid> pouredList(const std::u16string& folder, const std::u16string& name) {
    SlotGrid grid;
    try {
        loadMenuList(folder, name, grid, [](const std::u16string&) {});
    } catch (const Error&) {
        return std::nullopt;
    }
    if (grid.listPath().empty()) return std::nullopt;
    return grid;
}

std::vector<SearchItem> ListItemCache::items(const std::u16string& folder, const std::vector<std::u16string>& names) {
    std::map<std::u16string, Entry> kept;
    std::vector<SearchItem> all;
    for (const std::u16string& name : names) {
        const std::u16string path = folder + name;
        // Stamped before reading: a write after the stamp changes it again.
        const auto stamp = platform::fileStamp(path);
        auto known = entries_.extract(path);
        Entry entry;
        if (known && stamp && known.mapped().stamp == stamp) {
            entry = std::move(known.mapped());
        } else {
            const auto grid = pouredList(folder, name);
            entry = {stamp, grid ? searchableItems(*grid, name) : std::vector<SearchItem>{}};
        }
        all.insert(all.end(), entry.items.begin(), entry.items.end());
        kept.insert_or_assign(path, std::move(entry));
    }
    entries_ = std::move(kept);
    return all;
}

}  // namespace orvane::ui
