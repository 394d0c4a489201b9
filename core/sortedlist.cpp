#include "core/sortedlist.h"

#include <algorithm>

#include "core/platform/platform.h"
#include "core/text.h"

namespace orvane {

Error listIndexError(std::ptrdiff_t index) {
    return Error(replaceAll(u"リストのインデックスが範囲を超えています (%d)", u"%d", intToText(index)));
}

namespace {

void checkIndex(std::size_t index, std::size_t count) {
    if (index >= count) {
        throw listIndexError(static_cast<std::ptrdiff_t>(index));
    }
}

}  // namespace

const std::u16string& SortedList::at(std::size_t index) const {
    checkIndex(index, entries_.size());
    return entries_[index];
}

std::size_t SortedList::add(std::u16string text) {
    std::size_t position = 0;
    while (position < entries_.size() && platform::compareText(entries_[position], text) <= 0) {
        ++position;
    }
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position), std::move(text));
    if (selected_ && *selected_ >= position) {
        ++*selected_;
    }
    return position;
}

void SortedList::assign(std::vector<std::u16string> texts) {
    std::stable_sort(texts.begin(), texts.end(), [](const std::u16string& a, const std::u16string& b) {
        return platform::compareText(a, b) < 0;
    });
    entries_ = std::move(texts);
    selected_.reset();
}

std::optional<std::size_t> SortedList::find(std::u16string_view text) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (platform::sameText(entries_[i], text)) {
            return i;
        }
    }
    return std::nullopt;
}

const std::u16string* SortedList::selectedText() const {
    return selected_ ? &entries_[*selected_] : nullptr;
}

void SortedList::select(std::optional<std::size_t> index) {
    if (index) {
        checkIndex(*index, entries_.size());
    }
    selected_ = index;
}

void SortedList::remove(std::size_t index) {
    checkIndex(index, entries_.size());
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    if (selected_ == index) {
        selected_.reset();
    } else if (selected_ && *selected_ > index) {
        --*selected_;
    }
}

void SortedList::replace(std::size_t index, std::u16string text) {
    checkIndex(index, entries_.size());
    entries_[index] = std::move(text);
}

void SortedList::clear() noexcept {
    entries_.clear();
    selected_.reset();
}

}  // namespace orvane
