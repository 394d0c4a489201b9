#include "ui/qt/searchbox.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/menubarlayout.h"
#include "ui/qt/boxes.h"

namespace orvane::ui {

namespace {

enum Column { kCaption, kMenuTitle };

QString shownText(std::u16string_view caption) { return toQString(shownMenuText(caption)); }

}  // namespace

SearchBox::SearchBox(QWidget* owner)
    : QFrame(owner, Qt::Popup | Qt::FramelessWindowHint), edit_(new QLineEdit(this)), rows_(new QTreeWidget(this)) {
    setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(edit_);
    layout->addWidget(rows_);

    rows_->setColumnCount(2);
    rows_->setHeaderHidden(true);
    rows_->setRootIsDecorated(false);
    rows_->setUniformRowHeights(true);
    rows_->setFocusPolicy(Qt::NoFocus);
    rows_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rows_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The keys move the highlight; the logic keeps it.
    rows_->viewport()->setAttribute(Qt::WA_TransparentForMouseEvents);
    rows_->header()->setStretchLastSection(false);
    rows_->header()->setSectionResizeMode(kCaption, QHeaderView::Stretch);
    rows_->header()->setSectionResizeMode(kMenuTitle, QHeaderView::ResizeToContents);
    rows_->hide();

    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (logic_ != nullptr) logic_->textChanged(fromQString(text));
    });
}

void SearchBox::popUpUnder(const QWidget* above) {
    edit_->clear();
    setFixedWidth(above->width());
    move(above->mapToGlobal(QPoint(0, above->height())));
    show();
    edit_->setFocus(Qt::PopupFocusReason);
}

void SearchBox::showRows(const std::vector<const SearchItem*>& rows, std::optional<std::size_t> current) {
    rows_->clear();
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (const SearchItem* item : rows) {
        auto* row = new QTreeWidgetItem(rows_, {shownText(item->caption), shownText(item->menuTitle)});
        row->setForeground(kMenuTitle, grey);
    }
    if (current) rows_->setCurrentItem(rows_->topLevelItem(static_cast<int>(*current)));
    rows_->setVisible(!rows.empty());
    fitHeight();
}

void SearchBox::fitHeight() {
    const int count = rows_->topLevelItemCount();
    const int rowHeight = count > 0 ? rows_->sizeHintForRow(0) : 0;
    rows_->setFixedHeight(count * rowHeight + 2 * rows_->frameWidth());
    adjustSize();
}

void SearchBox::closeBox() { hide(); }

bool SearchBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress && logic_ != nullptr) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up: logic_->up(); return true;
            case Qt::Key_Down: logic_->down(); return true;
            case Qt::Key_Return:
            case Qt::Key_Enter: logic_->enter(); return true;
            case Qt::Key_Escape: logic_->dismiss(); return true;
            default: break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

// However the box went away, the logic closes with it and runs nothing.
void SearchBox::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    if (logic_ != nullptr) logic_->dismiss();
}

}  // namespace orvane::ui
