#include "ui/qt/slotmenubar.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "ui/qt/boxes.h"

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
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar_);
    connect(f10, &QShortcut::activated, this, &SlotMenuBar::toggleKeyboardMode);
}

// The bar has no call of its own for its keyboard mode; it enters and leaves
// it when Alt is pressed and released alone, so F10 plays that to it: the
// first menu highlighted, or the highlight gone again.
void SlotMenuBar::toggleKeyboardMode() {
    QWidget* window = bar_->window();
    QKeyEvent altPressed(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(window, &altPressed);
    QKeyEvent altReleased(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &altReleased);
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

std::vector<QMenu*> SlotMenuBar::menus() const {
    std::vector<QMenu*> all;
    for (const auto& [number, menu] : menus_) all.push_back(menu);
    return all;
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
