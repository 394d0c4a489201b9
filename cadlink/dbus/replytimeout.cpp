#include "cadlink/dbus/replytimeout.h"

#include <charconv>
#include <cstdlib>

namespace orvane::cadlink::dbus {

int replyTimeoutFromSetting(std::string_view setting) {
    int milliseconds = 0;
    const char* const end = setting.data() + setting.size();
    const auto [stop, error] = std::from_chars(setting.data(), end, milliseconds);
    if (error != std::errc() || stop != end || milliseconds < 1) {
        return defaultReplyTimeoutMs;
    }
    return milliseconds;
}

int replyTimeoutFromEnvironment() {
    const char* const setting = std::getenv(replyTimeoutVariable);
    return replyTimeoutFromSetting(setting == nullptr ? std::string_view() : std::string_view(setting));
}

}  // namespace orvane::cadlink::dbus
