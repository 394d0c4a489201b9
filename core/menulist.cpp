#include "core/menulist.h"

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

// Every slot back to its own name without the "N", hidden, so that whatever
// this load does not fill reads as a nonzero number in the final pass.
void resetSlots(SlotGrid& slots) {
    for (const Slot& slot : slots.slots()) {
        slots.setCaption(slot.number, intToText(slot.number) + u"1");
        slots.setVisible(slot.number, false);
    }
}

void hideNumericSlots(SlotGrid& slots) {
    for (const Slot& slot : slots.slots()) {
        if (strToIntDef(slot.caption, 0) != 0) {
            slots.setVisible(slot.number, false);
        }
    }
}

std::u16string itemCaption(const std::u16string& line) {
    if (startsWith(line, kLoadPrefix)) {
        return u"LOAD_: " + extractFileName(line, nativePathSyntax());
    }
    return line;
}

// Pours the lines into the grid; stops after the section line that would
// open a 16th drop-down.
void pourLines(const std::vector<std::u16string>& lines, SlotGrid& slots,
               const MenuTitleHandler& onTitle) {
    int sectionBase = 0;
    int itemCounter = 0;
    for (const std::u16string& line : lines) {
        const std::u16string t = trim(line);
        if (t.empty()) {
            continue;
        }
        if (t.front() == u'[') {
            sectionBase += 100;
            itemCounter = 0;
            const std::size_t close = t.find(u']');
            if (SlotGrid::exists(sectionBase) && close != std::u16string::npos) {
                slots.setVisible(sectionBase, true);
                slots.setCaption(sectionBase, t.substr(1, close - 1));
            }
        } else if (t.front() == u'/' || t.front() == u';') {
            // A comment.
        } else if (startsWith(t, kTitlePrefix)) {
            const std::size_t colon = t.find(u':');
            if (colon != std::u16string::npos && onTitle) {
                onTitle(trim(std::u16string_view(t).substr(colon + 1)));
            }
        } else {
            ++itemCounter;
            const int number = sectionBase + itemCounter;
            if (itemCounter <= kItemSlotsPerMenu && SlotGrid::exists(number)) {
                slots.setVisible(number, true);
                slots.setCaption(number, itemCaption(t));
            }
        }
        if (sectionBase > kLastSectionBase) {
            break;
        }
    }
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
    std::u16string path(programDirectory);
    path += lstname;
    if (!platform::fileExists(path)) {
        return;
    }
    resetSlots(slots);
    const LineFileContent content = readLineFile(path);
    pourLines(content.lines, slots, onTitle);
    hideNumericSlots(slots);
}

}  // namespace orvane
