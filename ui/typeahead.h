#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane::ui {

// Finding a list entry by typing its first characters. A keystroke 500 ms or
// more after the previous one starts a new search text.
class TypeAhead {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds kResetAfter{500};

    explicit TypeAhead(Clock clock = std::chrono::steady_clock::now);

    // What a keystroke asks the list to select.
    struct Selection {
        // The first entry that begins with the search text (letter case
        // ignored); nullopt leaves the selection as it is.
        std::optional<std::size_t> index;
        // Backspace emptied the search text: the first entry is to be
        // selected, whether or not the list has one.
        bool first = false;
    };

    Selection type(char16_t character, const std::vector<std::u16string>& entries);
    Selection backspace(const std::vector<std::u16string>& entries);

    const std::u16string& searchText() const noexcept { return search_; }

private:
    void startKeystroke();
    Selection find(const std::vector<std::u16string>& entries) const;

    Clock clock_;
    std::optional<std::chrono::steady_clock::time_point> lastKeystroke_;
    std::u16string search_;
};

}  // namespace orvane::ui
