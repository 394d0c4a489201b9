#include "core/menulist.h"

#include <algorithm>
#include <array>

#include "core/error.h"
#include "core/linefile.h"
#include "core/paths.h"
#include "core/platform/platform.h"
#include "core/text.h"

namespace orvane {

namespace {

constexpr std::u16string_view kMenuListSuffix = u"LIST.TXT";
constexpr std::u16string_view kTitlePrefix = u"CAPTION_";
constexpr std::u16string_view kLoadPrefix = u"LOAD_";
constexpr int kLastSectionBase = kMenuSlotCount * 100;

bool startsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The slot's own name without the "N": its number followed by "1".
std::u16string_view resetCaption(int number, std::array<char16_t, 8>& buffer) {
    std::size_t length = 0;
    for (int rest = number; rest > 0; rest /= 10) {
        buffer[length++] = static_cast<char16_t>(u'0' + rest % 10);
    }
    std::reverse(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length));
    buffer[length++] = u'1';
    return {buffer.data(), length};
}

// Every slot back to its own name without the "N", hidden, so that whatever
// this load does not fill reads as a nonzero number in the final pass.
void resetSlots(SlotGrid& slots) {
    std::array<char16_t, 8> buffer{};
    for (const Slot& slot : slots.slots()) {
        const std::u16string_view caption = resetCaption(slot.number, buffer);
        slots.setCaption(slot.number, caption);
        slots.setVisible(slot.number, false);
    }
}

void hideNumericSlots(SlotGrid& slots) {
    for (const Slot& slot : slots.slots()) {
        if (!slot.cut && strToIntDef(slot.caption, 0) != 0) {
            slots.setVisible(slot.number, false);
        }
    }
}

std::u16string_view trimmedView(std::u16string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] <= u' ') ++first;
    while (last > first && text[last - 1] <= u' ') --last;
    return text.substr(first, last - first);
}

// Where a line of the list puts its text: the slot's number and its whole
// caption.
using SlotFiller = std::function<void(int number, std::u16string_view caption)>;

// Hands each line of a menu list to a taker, from the file or from memory.
using LineSource = std::function<void(const LineTaker& take)>;

LineSource linesOfFile(std::u16string_view path) {
    return [path](const LineTaker& take) { forEachLineOfFile(path, take); };
}

// Pours the lines of the list into the slots as they are read; stops after
// the section line that would open a 16th drop-down.
void pourLines(const LineSource& lines, const SlotFiller& fill, const MenuTitleHandler& onTitle) {
    int sectionBase = 0;
    int itemCounter = 0;
    lines([&](std::u16string_view line) {
        const std::u16string_view t = trimmedView(line);
        if (t.empty()) {
            return true;
        }
        if (t.front() == u'[') {
            sectionBase += 100;
            itemCounter = 0;
            const std::size_t close = t.find(u']');
            if (SlotGrid::exists(sectionBase) && close != std::u16string_view::npos) {
                fill(sectionBase, t.substr(1, close - 1));
            }
        } else if (t.front() == u'/' || t.front() == u';') {
            // A comment.
        } else if (startsWith(t, kTitlePrefix)) {
            const std::size_t colon = t.find(u':');
            if (colon != std::u16string_view::npos && onTitle) {
                // Only shown, in the window caption: cut as a slot's caption
                // is, and trimmed again where the cut left blanks at its end.
                onTitle(std::u16string(trimmedView(SlotGrid::heldPart(trimmedView(t.substr(colon + 1))))));
            }
        } else {
            ++itemCounter;
            const int number = sectionBase + itemCounter;
            if (itemCounter <= kItemSlotsPerMenu && SlotGrid::exists(number)) {
                if (startsWith(t, kLoadPrefix)) {
                    fill(number, u"LOAD_: " + extractFileName(t, textPathSyntax()));
                } else {
                    fill(number, t);
                }
            }
        }
        return sectionBase <= kLastSectionBase;
    });
}

// A slot this load fills is shown unless its caption reads as a nonzero
// integer. A cut caption is read whole here, as the final pass cannot.
void fillSlot(SlotGrid& slots, int number, std::u16string_view caption) {
    slots.setCaption(number, caption);
    const Slot* slot = slots.find(number);
    slots.setVisible(number, !slot->cut || strToIntDef(caption, 0) == 0);
}

// The path of the list in the program directory; nullopt without such a file.
std::optional<std::u16string> existingList(std::u16string_view programDirectory, std::u16string_view lstname) {
    std::u16string path(programDirectory);
    path += lstname;
    if (!platform::fileExists(path)) {
        return std::nullopt;
    }
    return path;
}

void pourList(std::u16string_view path, const LineSource& lines, SlotGrid& slots, const MenuTitleHandler& onTitle) {
    resetSlots(slots);
    slots.setListPath(path);
    pourLines(lines, [&slots](int number, std::u16string_view caption) { fillSlot(slots, number, caption); }, onTitle);
    hideNumericSlots(slots);
}

}  // namespace

bool isMenuListFileName(std::u16string_view name) {
    return name.size() >= kMenuListSuffix.size() &&
           upperCase(name.substr(name.size() - kMenuListSuffix.size())) == kMenuListSuffix;
}

std::vector<std::u16string> ListMenuListFiles(std::u16string_view programDirectory) {
    if (programDirectory.size() > kMaxListableDirectoryLength) {
        throw Error(formatMessage(u"パス %s が長すぎます", {programDirectory}));
    }
    std::vector<std::u16string> names;
    for (std::u16string& name : platform::listFiles(programDirectory)) {
        if (isMenuListFileName(name)) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

void loadMenuList(std::u16string_view programDirectory, std::u16string_view lstname,
                  SlotGrid& slots, const MenuTitleHandler& onTitle) {
    if (const auto path = existingList(programDirectory, lstname)) {
        pourList(*path, linesOfFile(*path), slots, onTitle);
    }
}

void reloadMenuList(std::u16string_view programDirectory, std::u16string_view lstname,
                    SlotGrid& slots, const MenuTitleHandler& onTitle) {
    if (const auto path = existingList(programDirectory, lstname)) {
        const std::string bytes = platform::readWholeFile(*path);
        pourList(*path, [&bytes](const LineTaker& take) { forEachLine(bytes, take); }, slots, onTitle);
    }
}

std::optional<std::u16string> wholeCaption(const SlotGrid& slots, int number) {
    const Slot* slot = slots.find(number);
    if (slot == nullptr || !slot->cut || !platform::fileExists(slots.listPath())) {
        return std::nullopt;
    }
    std::optional<std::u16string> whole;
    pourLines(linesOfFile(slots.listPath()),
              [&](int filled, std::u16string_view caption) {
                  if (filled == number) whole.emplace(caption);
              },
              {});
    if (!whole || SlotGrid::heldPart(*whole) != slot->caption || whole->size() == slot->caption.size()) {
        return std::nullopt;
    }
    return whole;
}

}  // namespace orvane
