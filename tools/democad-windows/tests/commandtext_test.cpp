#include <gtest/gtest.h>

#include "tools/democad/commandtext.h"

namespace democad {
namespace {

TEST(CommandText, EscapesBackslashAndLineControls) {
    EXPECT_EQ(escapedCommandText(u"a\\b\r\n\t"), u"a\\\\b\\r\\n\\t");
}

TEST(CommandText, OtherControlsBecomeHexEscapes) {
    EXPECT_EQ(escapedCommandText(std::u16string(u"\0\x1b\x7f", 3)), u"\\x00\\x1b\\x7f");
}

TEST(CommandText, KeepsPrintableAndNonAsciiText) { EXPECT_EQ(escapedCommandText(u"_LINE 線分 \u00a0"), u"_LINE 線分 \u00a0"); }

}  // namespace
}  // namespace democad
