// The settings file on arbitrary content: every key the panel uses must read
// back as written, and writing one key must leave every other key's value as
// it was and change no byte outside its own line, whatever the file held
// before. A write that is refused leaves the file as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/inifile_bytes.h"
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

bool hasLineBreak(std::u16string_view text) {
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
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
    std::string content() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path directory_;
    std::filesystem::path path_;
};

const ScratchFile& scratch() {
    static const ScratchFile file;
    return file;
}

// Any section and key name, also ones the panel never uses.
void checkLookup(const std::string& content, std::u16string_view section,
                 std::u16string_view key) {
    if (const auto value = orvane::ini::IniDocument(content).value(section, key)) {
        FUZZ_CHECK(value->size() <= maxValueLength);
        FUZZ_CHECK(!hasLineBreak(*value));
    }
}

// What the write took away from the old bytes lies within one line. Files
// in UTF-16 are left out: a byte 0x0D or 0x0A may belong to any unit there.
void checkOnlyOneLineChanged(const std::string& before, const std::string& after) {
    if (before.starts_with("\xFF\xFE") || before.starts_with("\xFE\xFF")) return;
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::string_view removed =
        std::string_view(before).substr(prefix, before.size() - prefix - suffix);
    FUZZ_CHECK(removed.find_first_of("\r\n") == std::string_view::npos);
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

    checkLookup(content, anySection, anyKey);

    scratch().replace(content);
    std::array<std::u16string, panelEntries.size()> before;
    {
        const orvane::SettingsFile settings(scratch().path());
        for (std::size_t i = 0; i < panelEntries.size(); ++i) {
            before[i] = settings.ReadString(panelEntries[i].section, panelEntries[i].key, missing);
        }
    }

    try {
        orvane::SettingsUpdate update(scratch().path());
        update.WriteString(target.section, target.key, value);
        update.save();
    } catch (const orvane::Error&) {
        FUZZ_CHECK(scratch().content() == content);
        return 0;
    }
    checkOnlyOneLineChanged(content, scratch().content());
    const orvane::SettingsFile settings(scratch().path());

    for (std::size_t i = 0; i < panelEntries.size(); ++i) {
        const Entry& entry = panelEntries[i];
        const std::u16string after = settings.ReadString(entry.section, entry.key, missing);
        if (entry.section != target.section || entry.key != target.key) {
            FUZZ_CHECK(after == before[i]);
            continue;
        }
        FUZZ_CHECK(after != missing);
        FUZZ_CHECK(after.size() <= maxValueLength);
        FUZZ_CHECK(!hasLineBreak(after));
        const std::u16string stored = singleLine(value);
        if (isPlainValue(stored)) FUZZ_CHECK(after == stored);
    }
    return 0;
}
