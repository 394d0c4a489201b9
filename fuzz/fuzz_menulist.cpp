// Menu list loading on arbitrary file content. A load must not depend on
// what the slots showed before, and no slot may be left visible showing a
// number or a broken caption.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/linefile.h"
#include "core/menulist.h"
#include "core/slotgrid.h"
#include "core/text.h"
#include "core/utf.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr std::u16string_view listName = u"FuzzList.txt";

class ProgramDirectory {
public:
    ProgramDirectory() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                              "/orvane-fuzz-menulist-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        directory_ = pattern;
    }
    ~ProgramDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    ProgramDirectory(const ProgramDirectory&) = delete;
    ProgramDirectory& operator=(const ProgramDirectory&) = delete;

    void writeList(std::string_view bytes) const {
        std::ofstream out(directory_ / orvane::toUtf8(listName),
                          std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        FUZZ_CHECK(out.good());
    }
    // With the trailing separator, as the program directory always has it.
    std::u16string path() const { return orvane::fromUtf8(directory_.string() + "/"); }

private:
    std::filesystem::path directory_;
};

const ProgramDirectory& programDirectory() {
    static const ProgramDirectory directory;
    return directory;
}

bool hasLineBreakOrNul(std::u16string_view text) {
    return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

bool isBlank(char16_t c) {
    return c <= u' ';
}

std::size_t countNonBlankLines(std::string_view bytes) {
    std::size_t count = 0;
    for (const std::u16string& line : orvane::decodeLines(bytes).lines) {
        if (!orvane::trim(line).empty()) ++count;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    programDirectory().writeList(bytes);

    orvane::SlotGrid fresh;
    orvane::loadMenuList(
        programDirectory().path(), listName, fresh, [](const std::u16string& title) {
            FUZZ_CHECK(!hasLineBreakOrNul(title));
            FUZZ_CHECK(title.empty() || (!isBlank(title.front()) && !isBlank(title.back())));
        });

    // The same grid across all inputs, holding whatever the last load left.
    static orvane::SlotGrid reused;
    orvane::loadMenuList(programDirectory().path(), listName, reused, nullptr);

    std::size_t visible = 0;
    for (std::size_t i = 0; i < fresh.slots().size(); ++i) {
        const orvane::Slot& slot = fresh.slots()[i];
        FUZZ_CHECK(slot.caption == reused.slots()[i].caption);
        FUZZ_CHECK(slot.visible == reused.slots()[i].visible);
        if (!slot.visible) continue;
        ++visible;
        // A cut caption is hidden by what its whole text reads.
        FUZZ_CHECK(orvane::strToIntDef(slot.cut ? orvane::wholeCaption(fresh, slot.number).value() : slot.caption, 0) == 0);
        FUZZ_CHECK(!hasLineBreakOrNul(slot.caption));
        if (!slot.isDropDown()) FUZZ_CHECK(!slot.caption.empty());
    }
    FUZZ_CHECK(visible <= countNonBlankLines(bytes));
    return 0;
}
