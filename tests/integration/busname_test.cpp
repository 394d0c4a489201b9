#include "cadlink/dbus/busname.h"
#include "cadlink/dbus/progidmatch.h"

#include <gtest/gtest.h>

#include <random>

namespace orvane::cadlink::dbus {
namespace {

struct Encoding {
    std::u16string progId;
    std::string busName;
};

class BusNameEncoding : public testing::TestWithParam<Encoding> {};

TEST_P(BusNameEncoding, EncodesAndDecodesBack) {
    const auto& [progId, busName] = GetParam();
    EXPECT_EQ(busNameForProgId(progId), busName);
    EXPECT_EQ(progIdForBusName(busName), progId);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BusNameEncoding,
    testing::Values(
        Encoding{u"BricscadApp.AcadApplication", "org.orvane.ProgId.BricscadApp.AcadApplication"},
        Encoding{u"GCAD.Application.23", "org.orvane.ProgId.GCAD.Application._323"},
        Encoding{u"ZWCAD.Application.2024", "org.orvane.ProgId.ZWCAD.Application._32024"},
        Encoding{u"A1.b2", "org.orvane.ProgId.A1.b2"},
        Encoding{u"My_App.x-y", "org.orvane.ProgId.My_5FApp.x_2Dy"},
        Encoding{u"A B", "org.orvane.ProgId.A_20B"},
        Encoding{u"\u00C9cad", "org.orvane.ProgId._C3_89cad"},
        Encoding{u"\u56F3\u9762.App", "org.orvane.ProgId._E5_9B_B3_E9_9D_A2.App"},
        Encoding{u"\U0001F600", "org.orvane.ProgId._F0_9F_98_80"},
        Encoding{u"9", "org.orvane.ProgId._39"},
        Encoding{u"_", "org.orvane.ProgId._5F"}));

TEST(BusNameEncoding, ProgIdsWithoutBusNameAreRefused) {
    EXPECT_FALSE(busNameForProgId(u""));
    EXPECT_FALSE(busNameForProgId(u"."));
    EXPECT_FALSE(busNameForProgId(u"A..B"));
    EXPECT_FALSE(busNameForProgId(u".A"));
    EXPECT_FALSE(busNameForProgId(u"A."));
    EXPECT_FALSE(busNameForProgId(std::u16string(u"A\xD800")));
    EXPECT_FALSE(busNameForProgId(std::u16string(u"\xDC00" u"A")));
}

TEST(BusNameEncoding, LengthLimitIsTheBusNameNotTheProgId) {
    const std::size_t room = maxBusNameLength - progIdBusNamePrefix.size();
    EXPECT_EQ(busNameForProgId(std::u16string(room, u'a'))->size(), maxBusNameLength);
    EXPECT_FALSE(busNameForProgId(std::u16string(room + 1, u'a')));
    // One escaped character takes three places.
    EXPECT_TRUE(busNameForProgId(std::u16string(room - 3, u'a') + u"-"));
    EXPECT_FALSE(busNameForProgId(std::u16string(room - 2, u'a') + u"-"));
}

TEST(BusNameDecoding, OnlyCanonicalNamesDecode) {
    for (const char* name : {
             "org.orvane.ProgId.",                // no element
             "org.orvane.ProgId.A..B",            // empty element
             "org.orvane.ProgId.A.",              // trailing empty element
             "org.orvane.ProgId.9A",              // leading digit not escaped
             "org.orvane.ProgId._41",             // a letter escaped
             "org.orvane.ProgId.A_31",            // an inner digit escaped
             "org.orvane.ProgId._2E",             // the separator inside an element
             "org.orvane.ProgId._5f",             // lower-case hex
             "org.orvane.ProgId._5",              // cut short
             "org.orvane.ProgId._C3",             // incomplete UTF-8
             "org.orvane.ProgId._C0_80",          // overlong UTF-8
             "org.orvane.ProgId._ED_A0_80",       // a surrogate in UTF-8
             "org.orvane.ProgId.A-B",             // a character the encoding never writes
             "org.other.ProgId.A",                // another prefix
         }) {
        EXPECT_FALSE(progIdForBusName(name)) << name;
    }
}

TEST(BusNameEncoding, RandomProgIdsRoundTrip) {
    std::mt19937 random(20250203);
    const std::u16string alphabet = u"aZ09._-/ \u00E9\u3042\U0001F600";
    for (int round = 0; round < 2000; ++round) {
        std::u16string progId;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) {
            const std::size_t at = random() % alphabet.size();
            if (alphabet[at] >= 0xD800 && alphabet[at] <= 0xDBFF) {
                progId += alphabet.substr(at, 2);
            } else if (alphabet[at] < 0xDC00 || alphabet[at] > 0xDFFF) {
                progId += alphabet[at];
            }
        }
        const auto busName = busNameForProgId(progId);
        if (!busName) {
            continue;
        }
        EXPECT_LE(busName->size(), maxBusNameLength);
        EXPECT_EQ(progIdForBusName(*busName), progId);
    }
}

TEST(ProgIdMatching, OnlyAsciiLettersMatchInEitherCase) {
    EXPECT_TRUE(sameProgId(u"BricscadApp.AcadApplication", u"bricscadapp.ACADAPPLICATION"));
    EXPECT_FALSE(sameProgId(u"\u00C9cad.App", u"\u00E9cad.App"));
    EXPECT_FALSE(sameProgId(u"\uFF21.App", u"\uFF41.App"));
    EXPECT_FALSE(sameProgId(u"Cad.App", u"Cad.App2"));
}

TEST(ProgIdMatching, TheFirstServingNameInByteOrderIsTaken) {
    const std::vector<std::string> names = {
        ":1.7",
        "org.orvane.ProgId.bricscadapp.acadapplication",
        "org.freedesktop.Notifications",
        "org.orvane.ProgId.BricscadApp.AcadApplication",
        "org.orvane.ProgId.BricscadApp.AcadApplication2",
    };
    EXPECT_EQ(busNameServing(u"BRICSCADAPP.AcadApplication", names), "org.orvane.ProgId.BricscadApp.AcadApplication");
    EXPECT_FALSE(busNameServing(u"BricscadApp.Acad", names));
}

}  // namespace
}  // namespace orvane::cadlink::dbus
