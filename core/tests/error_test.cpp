#include "core/error.h"

#include "core/utf.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Error, CarriesTheMessageExactly) {
    const std::u16string message = u"ファイル a.txt は開けません。 x ";
    const Error error(message);
    EXPECT_EQ(error.message(), message);
    EXPECT_EQ(std::string(error.what()), toUtf8(message));
}

TEST(ErrorBoxText, AddsAPeriodAfterCharactersBeyondIt) {
    EXPECT_EQ(errorBoxText(u""), u"");
    EXPECT_EQ(errorBoxText(u"abc"), u"abc.");
    EXPECT_EQ(errorBoxText(u"abc."), u"abc.");
    EXPECT_EQ(errorBoxText(u"abc/"), u"abc/.");
    EXPECT_EQ(errorBoxText(u"abc-"), u"abc-");
    EXPECT_EQ(errorBoxText(u"abc "), u"abc ");
    EXPECT_EQ(errorBoxText(u"書き込めません"), u"書き込めません.");
    EXPECT_EQ(errorBoxText(u"開けません。 x "), u"開けません。 x ");
}

// A path to the name in a folder whose name holds a dot, as this system
// writes it.
std::u16string inDottedFolder(std::u16string_view name) {
#ifdef _WIN32
    return u"C:\\v1.2\\" + std::u16string(name);
#else
    return u"/opt/v1.2/" + std::u16string(name);
#endif
}

TEST(ApplicationTitle, FileNameCutAtFirstDotWithTheRestLowered) {
    EXPECT_EQ(applicationTitle(inDottedFolder(u"Orvane")), u"Orvane");
    EXPECT_EQ(applicationTitle(inDottedFolder(u"ORVANE.EXE")), u"Orvane");
    EXPECT_EQ(applicationTitle(inDottedFolder(u"orvane.tar.gz")), u"orvane");
    EXPECT_EQ(applicationTitle(inDottedFolder(u"MyPanel")), u"Mypanel");
    EXPECT_EQ(applicationTitle(inDottedFolder(u"ÉCRAN")), u"Écran");
    EXPECT_EQ(applicationTitle(inDottedFolder(u"ΑΒΓ")), u"Αβγ");
    EXPECT_EQ(applicationTitle(inDottedFolder(u".hidden")), u"");
}

TEST(FormatMessage, SubstitutesInOrderWithoutRescanning) {
    EXPECT_EQ(formatMessage(u"%s に書き込めません", {u"/a/Orvane.ini"}),
              u"/a/Orvane.ini に書き込めません");
    EXPECT_EQ(formatMessage(u"ファイル %s は開けません。 %s ", {u"a", u"b"}),
              u"ファイル a は開けません。 b ");
    EXPECT_EQ(formatMessage(u"%s-%s", {u"%s", u"x"}), u"%s-x");
    EXPECT_EQ(formatMessage(u"%s and %s", {u"one"}), u"one and %s");
    EXPECT_EQ(formatMessage(u"no pattern", {u"x"}), u"no pattern");
}

}  // namespace
}  // namespace orvane
