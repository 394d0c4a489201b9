#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/slotgrid.h"

namespace orvane {

// Longest program directory path (in UTF-16 units) that can still be listed.
inline constexpr std::size_t kMaxListableDirectoryLength = 247;

// The bare names of every non-directory entry of the program directory (hidden
// ones included, sub-directories not searched) whose whole name matches
// "*List.txt", letters a to z matching their upper-case forms. Unsorted.
// A directory path of 248 characters or more throws Error("パス %s が長すぎます").
std::vector<std::u16string> ListMenuListFiles(std::u16string_view programDirectory);

// True when the name matches "*List.txt" as ListMenuListFiles matches it.
bool isMenuListFileName(std::u16string_view name);

// Called when a "CAPTION_" line sets the menu title (already trimmed, and cut
// to kMaxCaptionLength units as a slot's caption is).
using MenuTitleHandler = std::function<void(std::u16string title)>;

// Loads programDirectory + lstname into the slots. Without such a file
// nothing changes. Otherwise every slot is reset (caption = its name without
// the leading "N", hidden), the file's lines are poured into the grid, and
// every slot whose caption reads as a nonzero integer is hidden. A file that
// exists but cannot be read leaves the slots reset and hidden and throws the
// line file's Error.
// A caption longer than a slot holds is cut (the slot is marked cut) and
// hidden when the whole text reads as a nonzero integer.
void loadMenuList(std::u16string_view programDirectory, std::u16string_view lstname,
                  SlotGrid& slots, const MenuTitleHandler& onTitle);

// As loadMenuList, but the file is read whole before any slot changes: a file
// that exists but cannot be read throws the line file's Error and leaves the
// slots and the title as they were.
void reloadMenuList(std::u16string_view programDirectory, std::u16string_view lstname,
                    SlotGrid& slots, const MenuTitleHandler& onTitle);

// The whole caption of a cut slot, read again from the menu list that filled
// the grid; nullopt for a slot that is not cut, and when the list is gone or
// no longer gives the slot a text that starts with the caption it holds.
// Throws the line file's Error when the list exists but cannot be read.
std::optional<std::u16string> wholeCaption(const SlotGrid& slots, int number);

}  // namespace orvane
