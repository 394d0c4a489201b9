#include <gtest/gtest.h>

#include "tools/democad-windows/options.h"
#include "tools/democad-windows/usageerror.h"

namespace democad {
namespace {

Options parse(std::vector<std::u16string> arguments) { return parseOptions(arguments); }

TEST(Options, DefaultsServeTheDefaultProgIdWithoutLog) {
    const Options options = parse({});
    EXPECT_EQ(options.progId, u"BricscadApp.AcadApplication");
    EXPECT_TRUE(options.logFile.empty());
    EXPECT_FALSE(options.registerOnly);
    EXPECT_EQ(options.quitAfterSeconds, 0);
}

TEST(Options, SwitchesAndValuesInBothSpellings) {
    const Options options = parse({u"--log", u"C:\\t\\a.log", u"My.App", u"--not-quiescent", u"--hwnd-zero",
                                   u"--minimized", u"--register", u"--quit-after=30"});
    EXPECT_EQ(options.progId, u"My.App");
    EXPECT_EQ(options.logFile, u"C:\\t\\a.log");
    EXPECT_TRUE(options.notQuiescent);
    EXPECT_TRUE(options.hwndZero);
    EXPECT_TRUE(options.startMinimised);
    EXPECT_TRUE(options.registerOnly);
    EXPECT_EQ(options.quitAfterSeconds, 30);
}

TEST(Options, MistakesAreUsageErrors) {
    EXPECT_THROW(parse({u"--frobnicate"}), UsageError);
    EXPECT_THROW(parse({u"--log"}), UsageError);
    EXPECT_THROW(parse({u"--register=yes"}), UsageError);
    EXPECT_THROW(parse({u"--quit-after", u"-1"}), UsageError);
    EXPECT_THROW(parse({u"--quit-after", u"1000001"}), UsageError);
    EXPECT_THROW(parse({u"--quit-after="}), UsageError);
    EXPECT_THROW(parse({u"A.B", u"C.D"}), UsageError);
    EXPECT_THROW(parse({u"A\\B"}), UsageError);
    EXPECT_THROW(parse({u"--lack="}), UsageError);
}

TEST(Options, LackIsRepeatable) {
    EXPECT_EQ(parse({u"--lack", u"HWND", u"--lack=SendCommand"}).lackingMembers,
              (std::vector<std::u16string>{u"HWND", u"SendCommand"}));
}

TEST(Options, LaterPropertyOfTheSameNameReplacesTheEarlier) {
    const Options options = parse({u"--property", u"HWND=i4:1", u"--property", u"Extra=bstr:a=b", u"--property",
                                   u"hwnd=i8:2"});
    ASSERT_EQ(options.properties.size(), 2u);
    const TypedValue* hwnd = findMember(options.properties, u"Hwnd");
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(hwnd->type, ValueType::I8);
    EXPECT_EQ(findMember(options.properties, u"EXTRA")->text, u"a=b");
}

TEST(Options, PropertyNeedsANameAndATypedValue) {
    EXPECT_THROW(parse({u"--property", u"=i4:1"}), UsageError);
    EXPECT_THROW(parse({u"--property", u"HWND"}), UsageError);
    EXPECT_THROW(parse({u"--property", u"HWND=i4:x"}), UsageError);
}

TEST(Options, FailCarriesCodeAndDescription) {
    const Options options = parse({u"--fail", u"SendCommand=0x80004005:Bad: really"});
    const Failure* failure = findMember(options.failures, u"sendcommand");
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(failure->code, static_cast<std::int32_t>(0x80004005));
    EXPECT_EQ(failure->description, u"Bad: really");
    EXPECT_THROW(parse({u"--fail", u"X=0x80004005"}), UsageError);
    EXPECT_THROW(parse({u"--fail", u"X=oops:text"}), UsageError);
}

TEST(Options, LackAndFailMustNameAMember) {
    EXPECT_THROW(parse({u"--lack", u"Nothing"}), UsageError);
    EXPECT_THROW(parse({u"--fail", u"Nothing=1:x"}), UsageError);
    EXPECT_NO_THROW(parse({u"--fail", u"Extra=1:x", u"--property", u"Extra=empty", u"--lack", u"isquiescent"}));
}

TEST(MemberNames, MatchIgnoringTheCaseOfAsciiLettersOnly) {
    EXPECT_TRUE(sameMemberName(u"GetAcadState", u"GETACADSTATE"));
    EXPECT_FALSE(sameMemberName(u"ä", u"Ä"));
    EXPECT_FALSE(sameMemberName(u"HWND", u"HWNDX"));
}

}  // namespace
}  // namespace democad
