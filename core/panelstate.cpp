#include "core/panelstate.h"

#include <algorithm>

namespace orvane {

PanelState::PanelState() {
    slots_.setChangeHandler([this](int number) {
        notify([number](PanelObserver& o) { o.slotChanged(number); });
    });
}

template <typename Notify>
void PanelState::notify(Notify notifyOne) {
    // A copy, so an observer may remove itself while being told.
    const std::vector<PanelObserver*> observers = observers_;
    for (PanelObserver* observer : observers) {
        notifyOne(*observer);
    }
}

void PanelState::addObserver(PanelObserver* observer) {
    if (observer != nullptr && std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void PanelState::removeObserver(PanelObserver* observer) {
    std::erase(observers_, observer);
}

void PanelState::setCaption(std::u16string caption) {
    if (caption_ == caption) {
        return;
    }
    caption_ = std::move(caption);
    notify([](PanelObserver& o) { o.captionChanged(); });
}

void PanelState::setBounds(const Bounds& bounds) {
    if (bounds_ == bounds) {
        return;
    }
    bounds_ = bounds;
    notify([](PanelObserver& o) { o.boundsChanged(); });
}

void PanelState::replaceChooserEntries(std::vector<std::u16string> names, std::u16string_view keep) {
    SortedList next;
    next.assign(std::move(names));
    if (!keep.empty()) {
        const std::optional<std::size_t> found = next.find(keep);
        next.select(found ? *found : next.add(std::u16string(keep)));
    }
    if (next.entries() == comboBox1_.entries() && next.selectedIndex() == comboBox1_.selectedIndex()) {
        return;
    }
    comboBox1_ = std::move(next);
    notify([](PanelObserver& o) { o.chooserEntriesChanged(); });
}

void PanelState::selectChooserEntry(std::optional<std::size_t> index) {
    if (comboBox1_.selectedIndex() == index) {
        return;
    }
    comboBox1_.select(index);
    notify([](PanelObserver& o) { o.chooserSelectionChanged(); });
}

std::u16string PanelState::chooserSelectedText() const {
    const std::u16string* text = comboBox1_.selectedText();
    return text != nullptr ? *text : std::u16string();
}

void PanelState::setCheckBox1(bool checked) {
    if (checkBox1_ == checked) {
        return;
    }
    checkBox1_ = checked;
    notify([](PanelObserver& o) { o.checkBoxChanged(); });
}

void PanelState::setShape1Fill(Colour fill) {
    if (shape1Fill_ == fill) {
        return;
    }
    shape1Fill_ = fill;
    notify([](PanelObserver& o) { o.lampChanged(); });
}

}  // namespace orvane
