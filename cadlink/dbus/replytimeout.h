#pragma once

#include <string_view>

namespace orvane::cadlink::dbus {

// How long a call to the CAD waits for its answer. The panel's thread waits
// with it, so the wait is short: a CAD busy for longer counts as busy.
inline constexpr int defaultReplyTimeoutMs = 3000;
// Tests shorten the wait through this variable.
inline constexpr char replyTimeoutVariable[] = "ORVANE_CAD_REPLY_TIMEOUT_MS";

// The timeout a setting asks for: a whole number of milliseconds from 1 up,
// in decimal digits only; anything else, absent included, gives the default.
int replyTimeoutFromSetting(std::string_view setting);

// The timeout that the environment asks for.
int replyTimeoutFromEnvironment();

}  // namespace orvane::cadlink::dbus
