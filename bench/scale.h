#pragma once

#include <string>

namespace orvane::bench {

// The panel's logic over a program directory of many lists, medians in ms.
struct ScaleTimes {
    // One list file made in the folder, reported to the list watch, and its
    // settled change applied; beside reading the folder's list names.
    double change = 0.0;
    double listNames = 0.0;
    // Ctrl+F: the search items of every list gathered and made searchable;
    // beside making the same items searchable from memory.
    double searchOpen = 0.0;
    double searchOfItems = 0.0;
};

inline constexpr int kItemsPerList = 20;

// A folder holding OrvaneList.txt and lists - 1 more lists beside it, each of
// kItemsPerList items.
void writeManyLists(const std::string& directory, int lists);

ScaleTimes measureScale(const std::string& changeDirectory, const std::string& searchDirectory, int runs);

}  // namespace orvane::bench
