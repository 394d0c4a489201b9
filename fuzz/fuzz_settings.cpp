// The settings file on arbitrary content: every key the panel uses must read
// back as written, and writing one key must leave every other key's value as
// it was, whatever the file held before.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/inifile_parse.h"
#include "core/linefile.h"
#include "core/settingsfile.h"
#include "core/utf.h"
#include "fuzz/fuzz_check.h"

namespace {

struct Entry {
    std::u16string_view section;
    std::u16string_view key;
};

constexpr std::array<Entry, 7> panelEntries{{
    {u"MenuList", u"FileName"},
    {u"Form", u"Width"},
    {u"Form", u"Height"},
    {u"Form", u"Left"},
    {u"Form", u"Top"},
    {u"TargetCAD", u"ProgId"},
    {u"ImeOff", u"Check"},
}};

// No value read from a file holds a line break, so this marks a missing key.
constexpr std::u16string_view missing = u"\r";
constexpr std::size_t maxValueLength = 2047;

bool isLineBreakOrNul(char16_t c) {
    return c == u'\r' || c == u'\n' || c == u'\0';
}

bool hasLineBreakOrNul(std::u16string_view text) {
    for (char16_t c : text) {
        if (isLineBreakOrNul(c)) return true;
    }
    return false;
}

// A value the file keeps as it is: nothing trimmed, no quotes removed, not cut.
bool isPlainValue(std::u16string_view value) {
    if (value.size() > maxValueLength) return false;
    if (!value.empty() && (value.front() <= u' ' || value.back() <= u' ')) return false;
    const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                        (value.front() == u'"' || value.front() == u'\'');
    return !quoted;
}

// A line break or NUL in a written value is stored as a blank.
std::u16string singleLine(std::u16string_view value) {
    std::u16string line(value);
    for (char16_t& c : line) {
        if (isLineBreakOrNul(c)) c = u' ';
    }
    return line;
}

class ScratchFile {
public:
    ScratchFile() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                              "/orvane-fuzz-settings-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        directory_ = pattern;
        path_ = directory_ / "Orvane.ini";
    }
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    void replace(const std::string& bytes) const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        FUZZ_CHECK(out.good());
    }
    std::u16string path() const { return orvane::fromUtf8(path_.string()); }

private:
    std::filesystem::path directory_;
    std::filesystem::path path_;
};

const ScratchFile& scratch() {
    static const ScratchFile file;
    return file;
}

// Any section and key name, also ones the panel never uses.
void checkLookup(const std::vector<std::u16string>& lines, std::u16string_view section,
                 std::u16string_view key) {
    if (const auto value = orvane::ini::findValue(lines, section, key)) {
        FUZZ_CHECK(value->size() <= maxValueLength);
        FUZZ_CHECK(!hasLineBreakOrNul(*value));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const Entry target =
        panelEntries[input.ConsumeIntegralInRange<std::size_t>(0, panelEntries.size() - 1)];
    const std::u16string value =
        orvane::fromUtf8(input.ConsumeRandomLengthString(2 * maxValueLength));
    const std::u16string anySection = orvane::fromUtf8(input.ConsumeRandomLengthString(16));
    const std::u16string anyKey = orvane::fromUtf8(input.ConsumeRandomLengthString(16));
    const std::string content = input.ConsumeRemainingBytesAsString();

    checkLookup(orvane::decodeLines(content).lines, anySection, anyKey);

    scratch().replace(content);
    orvane::SettingsFile settings(scratch().path());
    std::array<std::u16string, panelEntries.size()> before;
    for (std::size_t i = 0; i < panelEntries.size(); ++i) {
        before[i] = settings.ReadString(panelEntries[i].section, panelEntries[i].key, missing);
    }

    settings.WriteString(target.section, target.key, value);

    for (std::size_t i = 0; i < panelEntries.size(); ++i) {
        const Entry& entry = panelEntries[i];
        const std::u16string after = settings.ReadString(entry.section, entry.key, missing);
        if (entry.section != target.section || entry.key != target.key) {
            FUZZ_CHECK(after == before[i]);
            continue;
        }
        FUZZ_CHECK(after != missing);
        FUZZ_CHECK(after.size() <= maxValueLength);
        FUZZ_CHECK(!hasLineBreakOrNul(after));
        const std::u16string stored = singleLine(value);
        if (isPlainValue(stored)) FUZZ_CHECK(after == stored);
    }
    return 0;
}
