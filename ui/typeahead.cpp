#include "ui/typeahead.h"

#include "core/platform/platform.h"

namespace orvane::ui {

TypeAhead::TypeAhead(Clock clock) : clock_(std::move(clock)) {}

void TypeAhead::startKeystroke() {
    const auto now = clock_();
    if (lastKeystroke_ && now - *lastKeystroke_ >= kResetAfter) {
        search_.clear();
    }
    lastKeystroke_ = now;
}

TypeAhead::Selection TypeAhead::type(char16_t character, const std::vector<std::u16string>& entries) {
    startKeystroke();
    search_.push_back(character);
    return find(entries);
}

TypeAhead::Selection TypeAhead::backspace(const std::vector<std::u16string>& entries) {
    startKeystroke();
    if (!search_.empty()) {
        search_.pop_back();
    }
    if (search_.empty()) {
        return {std::nullopt, true};
    }
    return find(entries);
}

TypeAhead::Selection TypeAhead::find(const std::vector<std::u16string>& entries) const {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::u16string& entry = entries[i];
        if (entry.size() >= search_.size() &&
            platform::sameText(std::u16string_view(entry).substr(0, search_.size()), search_)) {
            return {i, false};
        }
    }
    return {};
}

}  // namespace orvane::ui
