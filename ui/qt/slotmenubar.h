#pragma once

#include <QObject>

#include <map>
#include <vector>

#include "core/slotgrid.h"

class QAction;
class QMenu;
class QMenuBar;

namespace orvane::ui {

// Shows the slot grid as a menu bar: the drop-down slots as its entries, the
// item slots as their entries, each with its caption as stored. "&" marks an
// access key and "&&" shows "&"; nothing else is added. An item captioned
// exactly "-" is a separator; separators are never merged or dropped. F10
// opens the bar for the keyboard as Alt does.
class SlotMenuBar final : public QObject {
    Q_OBJECT

public:
    SlotMenuBar(QMenuBar* bar, const SlotGrid& slots);

    // Shows the slot's current caption and visibility.
    void refresh(int number);

    // The entry of a slot: an item's action, or a drop-down's menu action.
    QAction* action(int number) const;
    QMenu* menu(int dropDownNumber) const;
    // Every drop-down's menu, in slot order.
    std::vector<QMenu*> menus() const;

Q_SIGNALS:
    // An item slot was clicked.
    void itemClicked(int number);

private:
    void show(const Slot& slot);
    void toggleKeyboardMode();

    QMenuBar* bar_;
    const SlotGrid& slots_;
    std::map<int, QMenu*> menus_;
    std::map<int, QAction*> actions_;
};

}  // namespace orvane::ui
