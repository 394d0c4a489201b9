#include "ui/searchbox.h"

namespace orvane::ui {

void SearchBoxLogic::open(std::vector<SearchItem> items) {
    search_.emplace(std::move(items));
    found_.clear();
    current_.reset();
    show();
}

void SearchBoxLogic::textChanged(std::u16string_view text) {
    if (!search_) return;
    found_ = search_->find(text);
    current_ = found_.empty() ? std::nullopt : std::optional<std::size_t>(0);
    show();
}

void SearchBoxLogic::up() {
    if (current_ && *current_ > 0) {
        --*current_;
        show();
    }
}

void SearchBoxLogic::down() {
    if (current_ && *current_ + 1 < found_.size()) {
        ++*current_;
        show();
    }
}

void SearchBoxLogic::enter() {
    if (!search_) return;
    std::optional<SearchItem> chosen;
    if (current_) chosen = *found_[*current_];
    dismiss();
    if (chosen) run_(*chosen);
}

void SearchBoxLogic::dismiss() {
    if (!search_) return;
    search_.reset();
    found_.clear();
    current_.reset();
    view_.closeBox();
}

void SearchBoxLogic::show() { view_.showRows(found_, current_); }

}  // namespace orvane::ui
