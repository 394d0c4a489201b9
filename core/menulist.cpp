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
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

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
        if (strToIntDef(slot.caption, 0) != 0) {
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

// Pours the lines into the grid; stops after the section line that would
// open a 16th drop-down.
void pourLines(const std::vector<std::u16string_view>& lines, SlotGrid& slots,
               const MenuTitleHandler& onTitle) {
    int sectionBase = 0;
    int itemCounter = 0;
    for (const std::u16string_view line : lines) {
        const std::u16string_view t = trimmedView(line);
        if (t.empty()) {
            continue;
        }
        if (t.front() == u'[') {
            sectionBase += 100;
            itemCounter = 0;
            const std::size_t close = t.find(u']');
            if (SlotGrid::exists(sectionBase) && close != std::u16string_view::npos) {
                slots.setVisible(sectionBase, true);
                slots.setCaption(sectionBase, t.substr(1, close - 1));
            }
        } else if (t.front() == u'/' || t.front() == u';') {
            // A comment.
        } else if (startsWith(t, kTitlePrefix)) {
            const std::size_t colon = t.find(u':');
            if (colon != std::u16string_view::npos && onTitle) {
                onTitle(trim(t.substr(colon + 1)));
            }
        } else {
            ++itemCounter;
            const int number = sectionBase + itemCounter;
            if (itemCounter <= kItemSlotsPerMenu && SlotGrid::exists(number)) {
                slots.setVisible(number, true);
                if (startsWith(t, kLoadPrefix)) {
                    slots.setCaption(number, u"LOAD_: " + extractFileName(t, textPathSyntax()));
                } else {
                    slots.setCaption(number, t);
                }
            }
        }
        if (sectionBase > kLastSectionBase) {
            break;
        }
    }
}

bool isBlankByte(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// In UTF-8 the line ends, the blanks that trim removes and "[" are single
// bytes that occur in no other sequence, so the lines up to the one that
// opens the 16th section (the last one looked at) can be found before
// decoding. The bytes up to that line's end decode to exactly those lines.
std::string_view utf8UpToLastSectionLine(std::string_view bytes) {
    int sections = 0;
    std::size_t start = kUtf8Mark.size();
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        if (end == bytes.size()) {
            return bytes;
        }
        std::size_t first = start;
        while (first < end && isBlankByte(bytes[first])) ++first;
        if (first < end && bytes[first] == '[' && ++sections * 100 > kLastSectionBase) {
            return bytes.substr(0, end + 1);
        }
        if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return bytes;
}

std::u16string readMenuListText(std::u16string_view path) {
    const std::string bytes = platform::readWholeFile(path);
    const std::string_view view(bytes);
    TextEncoding encoding = TextEncoding::Ansi;
    return decodeText(view.starts_with(kUtf8Mark) ? utf8UpToLastSectionLine(view) : view, encoding);
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
    const std::u16string text = readMenuListText(path);
    pourLines(splitLineViews(text), slots, onTitle);
    hideNumericSlots(slots);
}

}  // namespace orvane
