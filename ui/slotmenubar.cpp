#include "ui/slotmenubar.h"

#include <QMenu>
#include <QMenuBar>

#include "ui/boxes.h"

namespace orvane::ui {

namespace {
constexpr char16_t kSeparatorCaption[] = u"-";
}

SlotMenuBar::SlotMenuBar(QMenuBar* bar, const SlotGrid& slots) : QObject(bar), bar_(bar), slots_(slots) {
    // A global menu bar would take the menus out of the panel.
    bar_->setNativeMenuBar(false);
    QMenu* current = nullptr;
    for (const Slot& slot : slots_.slots()) {
        if (slot.isDropDown()) {
            current = new QMenu(bar_);
            current->setSeparatorsCollapsible(false);
            menus_[slot.number] = current;
            actions_[slot.number] = bar_->addMenu(current);
        } else if (current != nullptr) {  // the grid lists each drop-down before its items
            QAction* item = current->addAction(QString());
            const int number = slot.number;
            connect(item, &QAction::triggered, this, [this, number] { Q_EMIT itemClicked(number); });
            actions_[slot.number] = item;
        }
        show(slot);
    }
}

void SlotMenuBar::refresh(int number) {
    if (const Slot* slot = slots_.find(number)) {
        show(*slot);
    }
}

QAction* SlotMenuBar::action(int number) const {
    const auto found = actions_.find(number);
    return found == actions_.end() ? nullptr : found->second;
}

QMenu* SlotMenuBar::menu(int dropDownNumber) const {
    const auto found = menus_.find(dropDownNumber);
    return found == menus_.end() ? nullptr : found->second;
}

void SlotMenuBar::show(const Slot& slot) {
    QAction* entry = action(slot.number);
    const QString caption = toQString(slot.caption);
    if (slot.isDropDown()) {
        menus_.at(slot.number)->setTitle(caption);
    } else {
        entry->setSeparator(slot.caption == kSeparatorCaption);
        entry->setText(caption);
    }
    entry->setVisible(slot.visible);
}

}  // namespace orvane::ui
