#include "cadlink/fake/calllog.h"

#include <algorithm>

namespace orvane::cadlink::fake {

std::size_t CallLog::count(std::string_view prefix) const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(),
                      [prefix](const std::string& entry) { return entry.starts_with(prefix); }));
}

std::vector<std::string> CallLog::matching(std::string_view prefix) const {
    std::vector<std::string> result;
    std::copy_if(entries_.begin(), entries_.end(), std::back_inserter(result),
                 [prefix](const std::string& entry) { return entry.starts_with(prefix); });
    return result;
}

}  // namespace orvane::cadlink::fake
