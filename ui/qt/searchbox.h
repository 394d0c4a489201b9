#pragma once

#include <QFrame>

#include "ui/searchbox.h"

class QLineEdit;
class QTreeWidget;

namespace orvane::ui {

// The command search box as a popup under the panel's menu bar: a line for
// the typed text and up to 15 rows of matching items, each with its menu's
// title in grey. Being a popup, it takes no focus from the window manager:
// the panel stays the active window, as it does while a menu is open, and a
// click anywhere else closes it.
class SearchBox final : public QFrame, public SearchBoxView {
    Q_OBJECT

public:
    explicit SearchBox(QWidget* owner);

    // The logic the keys and the closing go to.
    void drive(SearchBoxLogic& logic) { logic_ = &logic; }
    // Shows the box, empty, along the bottom edge of this widget.
    void popUpUnder(const QWidget* above);

    QLineEdit* edit() const { return edit_; }
    QTreeWidget* rows() const { return rows_; }

    // SearchBoxView
    void showRows(const std::vector<const SearchItem*>& rows, std::optional<std::size_t> current) override;
    void closeBox() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void fitHeight();

    SearchBoxLogic* logic_ = nullptr;
    QLineEdit* edit_;
    QTreeWidget* rows_;
};

}  // namespace orvane::ui
