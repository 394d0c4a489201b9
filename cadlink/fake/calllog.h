#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::cadlink::fake {

// Every call the fakes receive, in order, one readable line each. Fakes that
// share one log show how calls to the CAD and to the window system interleave.
class CallLog {
public:
    void add(std::string entry) { entries_.push_back(std::move(entry)); }
    const std::vector<std::string>& entries() const { return entries_; }
    void clear() { entries_.clear(); }
    // How many entries start with prefix.
    std::size_t count(std::string_view prefix) const;
    // The entries that start with prefix, in order.
    std::vector<std::string> matching(std::string_view prefix) const;

private:
    std::vector<std::string> entries_;
};

using CallLogRef = std::shared_ptr<CallLog>;

}  // namespace orvane::cadlink::fake
