#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/platform.h"
#include "core/slotgrid.h"
#include "ui/commandsearch.h"

namespace orvane::ui {

// A list poured into a grid of its own; nullopt when it is gone or unreadable.
std::optional<SlotGrid> pouredList(const std::u16string& folder, const std::u16string& name);

// The search items of list files, each read again only when its file's
// stamp changed, so that opening the search costs one stat per unchanged
// list. Lists are keyed by their whole path, whatever folder holds them.
class ListItemCache {
public:
    // The items of the lists of these names in this folder, in that order;
    // a list that is gone or cannot be read has none. Lists not named are
    // forgotten.
    std::vector<SearchItem> items(const std::u16string& folder, const std::vector<std::u16string>& names);

private:
    struct Entry {
        std::optional<platform::FileStamp> stamp;
        std::vector<SearchItem> items;
    };

    std::map<std::u16string, Entry> entries_;
};

}  // namespace orvane::ui
