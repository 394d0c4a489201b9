#include "cadlink/dbus/replytimeout.h"

#include <gtest/gtest.h>

namespace orvane::cadlink::dbus {
namespace {

TEST(ReplyTimeout, OnlyAWholePositiveNumberOfMillisecondsIsTaken) {
    EXPECT_EQ(replyTimeoutFromSetting("500"), 500);
    EXPECT_EQ(replyTimeoutFromSetting("1"), 1);
    for (const char* setting : {"", "0", "-500", "+500", " 500", "500ms", "2.5", "99999999999", "x"}) {
        EXPECT_EQ(replyTimeoutFromSetting(setting), defaultReplyTimeoutMs) << '"' << setting << '"';
    }
}

}  // namespace
}  // namespace orvane::cadlink::dbus
