#include "ui/typeahead.h"

#include <QString>

#include "ui/boxes.h"

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
    const QString prefix = toQString(search_);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (toQString(entries[i]).startsWith(prefix, Qt::CaseInsensitive)) {
            return {i, false};
        }
    }
    return {};
}

}  // namespace orvane::ui
