#include "core/settingsfile.h"

#include "core/error.h"
#include "core/inifile_bytes.h"
#include "core/linefile.h"
#include "core/tests/keybykey_settings.h"
#include "core/tests/scratch_dir.h"
#include "core/utf.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "core/tests/child_run.h"

#include <sys/stat.h>
#include <unistd.h>
#endif

#include <fstream>
#include <iterator>
#include <random>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using orvane::testing::KeyByKeySettings;
using orvane::testing::ScratchDir;

class SettingsFileTest : public ::testing::Test {
protected:
    fs::path file() const { return dir_ / "Orvane.ini"; }
    std::u16string path() const { return file().u16string(); }
    SettingsFile settings() const { return SettingsFile(path()); }
    KeyByKeySettings keyByKey() const { return KeyByKeySettings(path()); }

    void write(std::string_view bytes) const { std::ofstream(file(), std::ios::binary) << bytes; }
    std::string content() const { return contentOf(file()); }
    static std::string contentOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
#ifndef _WIN32
    // The folder, and the settings file when there is one, become the
    // unprivileged user's.
    void shareWithUnprivilegedUser() const {
        testing::giveToUnprivilegedUser(dir_.path());
        if (fs::exists(fs::symlink_status(file()))) testing::giveToUnprivilegedUser(file());
    }
#endif
    fs::path folder() const { return dir_.path(); }

private:
    ScratchDir dir_;
};

#ifdef _WIN32
TEST(SettingsPath, ExtensionChangedOrAppended) {
    EXPECT_EQ(settingsPath(u"C:\\Orvane\\Orvane.exe"), u"C:\\Orvane\\Orvane.ini");
    EXPECT_EQ(settingsPath(u"C:\\orvane.d\\Tools"), u"C:\\orvane.d\\Tools.ini");
    EXPECT_EQ(settingsPath(u"C:Orvane.exe"), u"C:Orvane.ini");
}
#else
TEST(SettingsPath, ExtensionChangedOrAppended) {
    EXPECT_EQ(settingsPath(u"/opt/orvane/Orvane"), u"/opt/orvane/Orvane.ini");
    EXPECT_EQ(settingsPath(u"/opt/orvane/Orvane.bin"), u"/opt/orvane/Orvane.ini");
    EXPECT_EQ(settingsPath(u"/opt/orvane.d/Tools"), u"/opt/orvane.d/Tools.ini");
}

TEST(SettingsPath, ColonAndBackslashBelongToTheProgramsName) {
    EXPECT_EQ(settingsPath(u"/opt/app/Or.v:ane"), u"/opt/app/Or.ini");
    EXPECT_EQ(settingsPath(u"/opt/app/Or.v\\ane"), u"/opt/app/Or.ini");
}
#endif

TEST_F(SettingsFileTest, ShutdownWritesFromNothingInFileOrder) {
    const KeyByKeySettings s = keyByKey();
    s.WriteString(u"MenuList", u"FileName", u"OrvaneList.txt");
    s.WriteInteger(u"Form", u"Width", 483);
    s.WriteInteger(u"Form", u"Height", 120);
    s.WriteInteger(u"Form", u"Left", -40);
    s.WriteInteger(u"Form", u"Top", 0);
    s.WriteString(u"TargetCAD", u"ProgId", u"BricscadApp.AcadApplication");
    s.WriteBool(u"ImeOff", u"Check", true);
    EXPECT_EQ(content(),
              "[MenuList]\r\nFileName=OrvaneList.txt\r\n"
              "[Form]\r\nWidth=483\r\nHeight=120\r\nLeft=-40\r\nTop=0\r\n"
              "[TargetCAD]\r\nProgId=BricscadApp.AcadApplication\r\n"
              "[ImeOff]\r\nCheck=1\r\n");
    // A second shutdown replaces in place and keeps the order.
    s.WriteBool(u"ImeOff", u"Check", false);
    s.WriteInteger(u"Form", u"Width", 500);
    EXPECT_EQ(content(),
              "[MenuList]\r\nFileName=OrvaneList.txt\r\n"
              "[Form]\r\nWidth=500\r\nHeight=120\r\nLeft=-40\r\nTop=0\r\n"
              "[TargetCAD]\r\nProgId=BricscadApp.AcadApplication\r\n"
              "[ImeOff]\r\nCheck=0\r\n");
}

TEST_F(SettingsFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(settings().ReadString(u"MenuList", u"FileName", u"OrvaneList.txt"), u"OrvaneList.txt");
    write("[Form]\r\nWidth=1\r\n");
    EXPECT_EQ(settings().ReadString(u"MenuList", u"FileName", u"d"), u"d");
    EXPECT_EQ(settings().ReadString(u"Form", u"Height", u"d"), u"d");
    EXPECT_EQ(settings().ReadInteger(u"Form", u"Height", 77), 77);
}

TEST_F(SettingsFileTest, ReadingFollowsTheProfileRules) {
    write("Width=9\r\n"
          "; comment\r\n"
          "  [ menulist ]  \r\n"
          "  FILENAME  =   sub\\AList.txt   \r\n"
          "Empty=\r\n"
          "Quoted=\"  a b  \"\r\n"
          "Single='x'\r\n"
          "Unpaired=\"x'\r\n"
          "Inner=a\"b\"\r\n"
          "Eq=a=b\r\n"
          "NoEquals\r\n"
          "Dup=first\r\n"
          "Dup=second\r\n"
          "[Other]\r\n"
          "Dup=other\r\n"
          "[MenuList]\r\n"
          "Late=1\r\n");
    const SettingsFile s = settings();
    EXPECT_EQ(s.ReadString(u"MenuList", u"FileName", u"d"), u"sub\\AList.txt");
    EXPECT_EQ(s.ReadString(u"MENULIST", u"filename", u"d"), u"sub\\AList.txt");
    EXPECT_EQ(s.ReadString(u"MenuList", u"Empty", u"d"), u"");
    EXPECT_EQ(s.ReadString(u"MenuList", u"Quoted", u"d"), u"  a b  ");
    EXPECT_EQ(s.ReadString(u"MenuList", u"Single", u"d"), u"x");
    EXPECT_EQ(s.ReadString(u"MenuList", u"Unpaired", u"d"), u"\"x'");
    EXPECT_EQ(s.ReadString(u"MenuList", u"Inner", u"d"), u"a\"b\"");
    EXPECT_EQ(s.ReadString(u"MenuList", u"Eq", u"d"), u"a=b");
    EXPECT_EQ(s.ReadString(u"MenuList", u"NoEquals", u"d"), u"d");
    EXPECT_EQ(s.ReadString(u"MenuList", u"Dup", u"d"), u"first");
    EXPECT_EQ(s.ReadString(u"Other", u"Dup", u"d"), u"other");
    EXPECT_EQ(s.ReadString(u"", u"Width", u"d"), u"d");
}

TEST_F(SettingsFileTest, ValuesAreCutAt2047Characters) {
    write("[A]\r\nLong=" + std::string(3000, 'x') + "\r\nShort=" + std::string(2047, 'y') + "\r\n");
    EXPECT_EQ(settings().ReadString(u"A", u"Long", u""), std::u16string(2047, u'x'));
    EXPECT_EQ(settings().ReadString(u"A", u"Short", u""), std::u16string(2047, u'y'));
}

struct IntegerCase {
    std::string value;
    std::int32_t expected;
};

class SettingsInteger : public SettingsFileTest,
                        public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(SettingsInteger, ConvertsOrFallsBack) {
    write("[Form]\r\nLeft=" + GetParam().value + "\r\n");
    EXPECT_EQ(settings().ReadInteger(u"Form", u"Left", 158), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsInteger,
                         ::testing::Values(IntegerCase{"700", 700}, IntegerCase{"-300", -300},
                                           IntegerCase{"abc", 158}, IntegerCase{"0x1E0", 480},
                                           IntegerCase{"$1E0", 480}, IntegerCase{"  480  ", 480},
                                           IntegerCase{"", 158}, IntegerCase{"\"12\"", 12},
                                           IntegerCase{"12px", 158}));

TEST_F(SettingsFileTest, FlagsReadAsIntegersWithTheirDefault) {
    const std::pair<std::string, bool> cases[] = {
        {"0", false}, {"1", true}, {"2", true}, {"-1", true}, {"False", true}, {"", true}};
    for (const auto& [value, expected] : cases) {
        write("[ImeOff]\r\nCheck=" + value + "\r\n");
        EXPECT_EQ(settings().ReadBool(u"ImeOff", u"Check", true), expected) << value;
    }
    write("[ImeOff]\r\nCheck=False\r\n");
    EXPECT_FALSE(settings().ReadBool(u"ImeOff", u"Check", false));
}

TEST_F(SettingsFileTest, WritingLeavesEveryOtherLineAlone) {
    write("; kept\r\n"
          "[Form]\r\n"
          "  width = 1 \r\n"
          "Other=x\r\n"
          "\r\n"
          "\r\n"
          "[ImeOff]\r\n"
          "Check=1");
    const KeyByKeySettings s = keyByKey();
    s.WriteInteger(u"FORM", u"Width", 483);
    s.WriteInteger(u"Form", u"Left", 7);
    s.WriteString(u"TargetCAD", u"ProgId", u"A.B");
    EXPECT_EQ(content(),
              "; kept\r\n"
              "[Form]\r\n"
              "width=483\r\n"
              "Other=x\r\n"
              "Left=7\r\n"
              "\r\n"
              "\r\n"
              "[ImeOff]\r\n"
              "Check=1\r\n"
              "[TargetCAD]\r\n"
              "ProgId=A.B\r\n");
}

TEST_F(SettingsFileTest, KeyGoesRightAfterAnEmptySectionsHeader) {
    write("[Form]\r\n\r\n[ImeOff]\r\n");
    keyByKey().WriteString(u"Form", u"Top", u"5");
    EXPECT_EQ(content(), "[Form]\r\nTop=5\r\n\r\n[ImeOff]\r\n");
}

TEST_F(SettingsFileTest, ALineBreakInAValueCannotForgeKeys) {
    keyByKey().WriteString(u"TargetCAD", u"ProgId", u"A\r\n[ImeOff]\r\nCheck=0");
    EXPECT_TRUE(settings().ReadBool(u"ImeOff", u"Check", true));
    EXPECT_EQ(settings().ReadString(u"TargetCAD", u"ProgId", u""), u"A  [ImeOff]  Check=0");
}

TEST_F(SettingsFileTest, Utf16LittleEndianFileStaysSo) {
    write(encodeLines({u"[TargetCAD]", u"ProgId=線分.Application"}, TextEncoding::Utf16LE));
    EXPECT_EQ(settings().ReadString(u"TargetCAD", u"ProgId", u""), u"線分.Application");
    keyByKey().WriteString(u"Form", u"Width", u"483");
    EXPECT_EQ(content(), encodeLines({u"[TargetCAD]", u"ProgId=線分.Application", u"[Form]",
                                      u"Width=483"},
                                     TextEncoding::Utf16LE));
}

TEST_F(SettingsFileTest, Utf8MarkedFileStaysSo) {
    write("\xEF\xBB\xBF[MenuList]\r\nFileName=線分List.txt\r\n");
    EXPECT_EQ(settings().ReadString(u"MenuList", u"FileName", u""), u"線分List.txt");
    keyByKey().WriteString(u"MenuList", u"FileName", u"図List.txt");
    EXPECT_EQ(content(), "\xEF\xBB\xBF[MenuList]\r\nFileName=図List.txt\r\n");
}

TEST_F(SettingsFileTest, ReadOnlyFileRefusesTheWriteAndKeepsItsContent) {
    write("[Form]\r\nWidth=1\r\n");
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    try {
        keyByKey().WriteInteger(u"Form", u"Width", 483);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), path() + u" に書き込めません");
    }
    EXPECT_EQ(content(), "[Form]\r\nWidth=1\r\n");
}

// Other users, FIFOs and symbolic links, as POSIX has them.
#ifndef _WIN32
TEST_F(SettingsFileTest, UnreadableFileReadsAsDefaultsAndIsNotOverwritten) {
    write("[Form]\r\nWidth=1\r\n");
    ASSERT_EQ(chmod(file().c_str(), 0200), 0);
    shareWithUnprivilegedUser();
    testing::runAsUnprivilegedUser([this] {
        EXPECT_EQ(settings().ReadInteger(u"Form", u"Width", 5), 5);
        EXPECT_THROW(keyByKey().WriteInteger(u"Form", u"Height", 2), Error);
    });
    EXPECT_EQ(content(), "[Form]\r\nWidth=1\r\n");
}

TEST_F(SettingsFileTest, FifoReadsAsDefaultsAndRefusesTheWrite) {
    ASSERT_EQ(mkfifo(file().c_str(), 0666), 0);
    testing::runInChild([this] {
        EXPECT_EQ(settings().ReadInteger(u"Form", u"Width", 5), 5);
        EXPECT_THROW(keyByKey().WriteInteger(u"Form", u"Width", 2), Error);
    });
}

TEST_F(SettingsFileTest, OwnLinkedFileKeepsItsLinkAndItsTargetGetsTheSettings) {
    const fs::path real = folder() / "real.ini";
    std::ofstream(real, std::ios::binary) << "[Form]\r\nWidth=1\r\n";
    fs::create_symlink(real, file());
    testing::giveToUnprivilegedUser(real);
    shareWithUnprivilegedUser();
    testing::runAsUnprivilegedUser([this] { keyByKey().WriteInteger(u"Form", u"Width", 483); });
    EXPECT_TRUE(fs::is_symlink(file()));
    EXPECT_EQ(contentOf(real), "[Form]\r\nWidth=483\r\n");
}

TEST_F(SettingsFileTest, LinkToAnotherUsersFileIsRefusedAndThatFileKeepsItsBytes) {
    const fs::path theirs = folder() / "passwd";
    std::ofstream(theirs, std::ios::binary) << "root:x:0:0::/root:/bin/sh\n";
    ASSERT_EQ(chmod(theirs.c_str(), 0666), 0);
    fs::create_symlink(theirs, file());
    shareWithUnprivilegedUser();
    testing::runAsUnprivilegedUser([this] {
        try {
            keyByKey().WriteInteger(u"Form", u"Width", 483);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), path() + u" に書き込めません");
        }
    });
    EXPECT_EQ(contentOf(theirs), "root:x:0:0::/root:/bin/sh\n");
}
#endif

TEST_F(SettingsFileTest, WriteKeepsEveryByteOfTheLinesItDoesNotOwn) {
    using namespace std::string_literals;
    write("; caf\xE9 \xFF\xFE\n[Other]\nx=a\0b\r\n[Form]\n  Width = 1\n[Tail]\ny=\x80"s);
    const KeyByKeySettings s = keyByKey();
    s.WriteInteger(u"Form", u"Width", 483);
    s.WriteInteger(u"Form", u"Left", 7);
    s.WriteString(u"TargetCAD", u"ProgId", u"A.B");
    EXPECT_EQ(content(),
              "; caf\xE9 \xFF\xFE\n[Other]\nx=a\0b\r\n[Form]\nWidth=483\nLeft=7\r\n[Tail]\n"
              "y=\x80\r\n[TargetCAD]\r\nProgId=A.B\r\n"s);
}

// File names are bytes on POSIX only.
#ifndef _WIN32
TEST_F(SettingsFileTest, ListNameThatIsNoUtf8ComesBackAsTheSameName) {
    const std::u16string name = fromFileNameBytes("caf\xE9List.txt");
    keyByKey().WriteString(u"MenuList", u"FileName", name);
    EXPECT_EQ(content(), "[MenuList]\r\nFileName=caf\xE9List.txt\r\n");
    EXPECT_EQ(settings().ReadString(u"MenuList", u"FileName", u""), name);
}
#endif

TEST_F(SettingsFileTest, KeysAfterANulInAnotherLineAreFound) {
    using namespace std::string_literals;
    write("[Other]\r\nx=a\0b\r\n[Form]\r\nWidth=7\r\n"s);
    EXPECT_EQ(settings().ReadInteger(u"Form", u"Width", 5), 7);
}

TEST_F(SettingsFileTest, AUtf16FileWithAnOddByteRefusesAppendingAndKeepsItsBytes) {
    const std::string odd = encodeLines({u"[Form]", u"Width=1"}, TextEncoding::Utf16LE) + "x";
    write(odd);
    EXPECT_THROW(keyByKey().WriteString(u"ImeOff", u"Check", u"1"), Error);
    EXPECT_EQ(content(), odd);
}

TEST_F(SettingsFileTest, MissingFolderRefusesTheWrite) {
    const KeyByKeySettings s(path() + u".d/Orvane.ini");
    EXPECT_EQ(SettingsFile(s.path()).ReadString(u"A", u"B", u"d"), u"d");
    try {
        s.WriteString(u"A", u"B", u"c");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), s.path() + u" に書き込めません");
    }
}

TEST(IniParse, RandomTextNeverBreaksLookupOrEdit) {
    std::mt19937 random(1234);
    const std::u16string alphabet = u"[]=;\"' \tAaBb\r\n\u00E9線";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    const std::u16string names[] = {u"A", u"a", u"B", u"", u"[A]"};
    for (int round = 0; round < 500; ++round) {
        std::u16string text;
        for (int i = 0; i < round % 80; ++i) text.push_back(alphabet[pick(random)]);
        const std::string bytes = toUtf8(text);
        const std::u16string& section = names[round % 5];
        const std::u16string& key = names[(round / 5) % 5];
        ini::IniDocument(bytes).value(section, key);
        const ini::IniDocument written(ini::withValue(bytes, section, key, u"v").value());
        // Names that read back as the names themselves once written.
        const bool plainSection = !section.empty() && section.find(u']') == std::u16string::npos;
        const bool plainKey = !key.empty() && key.front() != u'[';
        if (plainSection && plainKey) {
            EXPECT_EQ(written.value(section, key), std::u16string(u"v"));
        }
    }
}

}  // namespace
}  // namespace orvane
