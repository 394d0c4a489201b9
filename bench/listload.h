#pragma once

#include <cstddef>
#include <string>

namespace orvane::bench {

// loadMenuList of the named list in directory beside the floor: reading the
// same file whole and decoding its UTF-8 to UTF-16. Medians of runs, in ms.
struct ListLoad {
    double load = 0.0;
    double readAndDecode = 0.0;
};

ListLoad measureListLoad(const std::string& directory, const std::string& name, int runs);

// A menu list file: UTF-8 with its mark, 15 sections; items are written
// round-robin into them until the file holds at least the given bytes (at
// least 30 per section).
void writeMenuList(const std::string& path, std::size_t atLeastBytes);

// A short menu list, UTF-8 with its mark, whose first menu holds the given
// number of items of lineBytes each: a command and a label of one letter
// repeated.
void writeHugeLineList(const std::string& path, int lines, std::size_t lineBytes);

}  // namespace orvane::bench
