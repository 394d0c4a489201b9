#include "core/settingsfile.h"

#include "core/error.h"
#include "core/linefile.h"
#include "core/tests/keybykey_settings.h"
#include "core/tests/scratch_dir.h"
#include "core/utf.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using orvane::testing::KeyByKeySettings;
using orvane::testing::ScratchDir;

void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::u16string u16(const fs::path& path) { return fromUtf8(path.string()); }

// The shutdown's writes, on either kind of writer; the values are awkward on
// purpose: text the code page may lack, a line break, a byte that is no UTF-8.
template <typename Writer>
void shutdownWrites(Writer& settings) {
    settings.WriteString(u"MenuList", u"FileName", fromFileNameBytes("caf\xE9List.txt"));
    settings.WriteInteger(u"Form", u"Width", 483);
    settings.WriteInteger(u"Form", u"Height", -120);
    settings.WriteInteger(u"Form", u"Left", 2147483647);
    settings.WriteInteger(u"Form", u"Top", 0);
    settings.WriteString(u"TargetCAD", u"ProgId", u"線分.App\r\nx");
    settings.WriteBool(u"ImeOff", u"Check", false);
}

// The file after the writes, and whether they were refused.
struct Outcome {
    std::optional<std::string> content;
    bool refused = false;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

Outcome outcomeOf(const fs::path& file, bool refused) {
    Outcome outcome{std::nullopt, refused};
    if (fs::exists(file)) outcome.content = contentOf(file);
    return outcome;
}

class OneWriteSequence : public ::testing::TestWithParam<std::optional<std::string>> {
protected:
    fs::path prepared(const ScratchDir& dir) const {
        const fs::path file = dir / "Orvane.ini";
        if (GetParam()) writeFile(file, *GetParam());
        return file;
    }
};

TEST_P(OneWriteSequence, LeavesTheBytesOfKeyByKeyWrites) {
    const ScratchDir sequenceDir;
    const ScratchDir keyByKeyDir;
    const fs::path sequenceFile = prepared(sequenceDir);
    const fs::path keyByKeyFile = prepared(keyByKeyDir);

    bool refused = false;
    try {
        SettingsUpdate settings(u16(sequenceFile));
        shutdownWrites(settings);
        settings.save();
    } catch (const Error&) {
        refused = true;
    }
    const Outcome ofSequence = outcomeOf(sequenceFile, refused);

    refused = false;
    try {
        const KeyByKeySettings settings(u16(keyByKeyFile));
        shutdownWrites(settings);
    } catch (const Error&) {
        refused = true;
    }
    EXPECT_EQ(ofSequence, outcomeOf(keyByKeyFile, refused));
}

INSTANTIATE_TEST_SUITE_P(
    AwkwardFiles, OneWriteSequence,
    ::testing::Values(
        std::nullopt, ""s, "\r\n"s,
        // Other programs' sections, LF line ends, no line end at the end.
        "[Other]\nkey=1\n[Form]\nOther=x\n\n[Tail]\nz=9"s,
        // Duplicate sections and keys, CRLF.
        "[Form]\r\nWidth=1\r\nWidth=2\r\n[form]\r\nLeft=3\r\n[ImeOff]\r\nCheck=1\r\nCheck=0\r\n"s,
        // Only some sections, one empty, with blank lines and comments.
        "; mine\r\n[Form]\r\n\r\n[MenuList]\r\n\r\n\r\n"s,
        // Bytes that are no UTF-8, NULs, lone CRs and LF CR.
        "; caf\xE9 \xFF\xFE\n[Other]\nx=a\0b\r[Form]\n\r  Width = 1\n[Tail]\ny=\x80"s,
        "\xEF\xBB\xBF[MenuList]\r\nFileName=線分List.txt\r\n[Other]\r\nk=\0\r\n"s,
        encodeLines({u"[TargetCAD]", u"ProgId=線分.Application", u"[Other]", u"k=v"},
                    TextEncoding::Utf16LE),
        // UTF-16 with a dangling odd byte: refused once a key must be appended.
        encodeLines({u"[MenuList]", u"FileName=a"}, TextEncoding::Utf16LE) + "x"));

class SettingsSequenceTest : public ::testing::Test {
protected:
    fs::path file() const { return dir_ / "Orvane.ini"; }
    std::u16string path() const { return u16(file()); }

private:
    ScratchDir dir_;
};

TEST_F(SettingsSequenceTest, OpeningReadsTheFileOnce) {
    writeFile(file(), "[Form]\r\nWidth=1\r\n");
    const SettingsFile settings(path());
    writeFile(file(), "[Form]\r\nWidth=2\r\n");
    EXPECT_EQ(settings.ReadInteger(u"Form", u"Width", 0), 1);
}

TEST_F(SettingsSequenceTest, WritesReachTheFileOnlyWhenSaved) {
    writeFile(file(), "[Form]\r\nWidth=1\r\n");
    SettingsUpdate settings(path());
    settings.WriteInteger(u"Form", u"Width", 2);
    settings.WriteInteger(u"Form", u"Height", 3);
    EXPECT_EQ(contentOf(file()), "[Form]\r\nWidth=1\r\n");
    settings.save();
    EXPECT_EQ(contentOf(file()), "[Form]\r\nWidth=2\r\nHeight=3\r\n");
}

TEST_F(SettingsSequenceTest, ReadsOfAnUpdateSeeItsOwnWrites) {
    SettingsUpdate settings(path());
    settings.WriteString(u"TargetCAD", u"ProgId", u"A.B");
    EXPECT_EQ(settings.ReadString(u"TargetCAD", u"ProgId", u""), u"A.B");
}

}  // namespace
}  // namespace orvane
