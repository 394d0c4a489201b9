#include "ui/qt/TaregetCADUnit.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

#include "ui/qt/boxes.h"
#include "ui/qt/fonts.h"
#include "ui/qt/inputmethod.h"
#include "ui/qt/windowframe.h"

namespace orvane::ui {

namespace {

QToolButton* speedButton(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setGeometry(geometry);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Clicking one leaves the focus in the field the user was typing in.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton* pushButton(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(geometry);
    // No default button: Enter outside the fields does nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setFont(tahoma(12));
    // A substitute font may be wider than Tahoma; the text is never cut.
    label->setGeometry(geometry.x(), geometry.y(), qMax(geometry.width(), label->sizeHint().width()),
                       geometry.height());
    return label;
}

QLineEdit* field(QWidget* parent, const QRect& geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    edit->setFont(tahoma(13));
    return edit;
}

}  // namespace

TTargetCADForm::TTargetCADForm(QWidget* panel, TargetCADFormDependencies dependencies)
    : QDialog(panel, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      TargetCADFormHandlers(*this, dependencies.settings()),
      boxes_(dependencies.boxes) {
    setWindowTitle(QStringLiteral("ターゲット CAD"));
    setFont(tahoma(11));
    setFixedSize(315, 307);
    setModal(true);
    createControls();
}

void TTargetCADForm::createControls() {
    ListBox1 = new QListWidget(this);
    ListBox1->setGeometry(8, 8, 297, 137);
    ListBox1->setFont(tahoma(13));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->installEventFilter(this);
    // The highlight is the selection: a click below the entries or a
    // Ctrl+click on the selected one takes it away, and the buttons then
    // have nothing to act on.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { listSelectionChanged(); });

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setGeometry(8, 151, 297, 105);
    Label1 = label(GroupBox1, QStringLiteral("名称 （説明）"), {16, 3, 64, 14});
    Edit1 = field(GroupBox1, {16, 23, 198, 24});
    Label2 = label(GroupBox1, QStringLiteral("ProgID （クラス文字列）"), {16, 53, 114, 14});
    Edit2 = field(GroupBox1, {16, 73, 198, 24});
    for (QLineEdit* edit : {Edit1, Edit2}) {
        edit->installEventFilter(this);
    }
    SpeedButton1 = speedButton(GroupBox1, QStringLiteral("追加"), {220, 21, 71, 22});
    SpeedButton2 = speedButton(GroupBox1, QStringLiteral("削除"), {220, 49, 71, 22});
    SpeedButton3 = speedButton(GroupBox1, QStringLiteral("変更"), {220, 77, 71, 22});
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { logic_.report([&] { SpeedButton1Click(); }); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { logic_.report([&] { SpeedButton2Click(); }); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { logic_.report([&] { SpeedButton3Click(); }); });

    Button1 = pushButton(this, QStringLiteral("OK"), {80, 271, 75, 25});
    Button2 = pushButton(this, QStringLiteral("取り消し"), {161, 271, 88, 25});
    connect(Button1, &QPushButton::clicked, this, [this] { logic_.report([&] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(kModalResultCancel); });
    for (QPushButton* button : {Button1, Button2}) {
        button->installEventFilter(this);
    }

    setTabOrder(ListBox1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Edit1);
    setTabOrder(Edit1, Edit2);
}

int TTargetCADForm::ShowModal() {
    centreOnWorkArea();
    logic_.showing();
    return exec();
}

void TTargetCADForm::centreOnWorkArea() {
    if (!logic_.shownBefore()) {
        learnFrameExtents(this);
    }
    const QScreen* screen = logic_.shownBefore() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect workArea = screen->availableGeometry();
    QRect outer = outerGeometry(this);
    outer.moveTopLeft({workArea.x() + (workArea.width() - outer.width()) / 2,
                       workArea.y() + (workArea.height() - outer.height()) / 2});
    setOuterGeometry(this, outer);
}

void TTargetCADForm::done(int result) {
    logic_.closing();
    QDialog::done(result);
}

// The close button and the program's end both cancel.
void TTargetCADForm::reject() { done(kModalResultCancel); }

void TTargetCADForm::keyPressEvent(QKeyEvent* event) {
    // There is no cancel button: Escape does nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TTargetCADForm::eventFilter(QObject* watched, QEvent* event) {
    const bool isField = watched == Edit1 || watched == Edit2;
    if (isField && event->type() == QEvent::FocusIn) {
        switchInputMethodOff(static_cast<QWidget*>(watched));
    }
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (isField && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        logic_.report([&] { Edit1KeyPress(u'\r'); });
        return true;
    }
    if (watched == ListBox1) {
        return listKeyPress(key);
    }
    if (watched == Button1 || watched == Button2) {
        return buttonKeyPress(static_cast<QPushButton*>(watched), key);
    }
    return QDialog::eventFilter(watched, event);
}

bool TTargetCADForm::listKeyPress(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace) {
        logic_.listBackspace();
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || text.front() < QChar(0x20) || text.front() == QChar(0x7F)) {
        return false;
    }
    for (const QChar character : text) {
        logic_.listTyped(character.unicode());
    }
    return true;
}

// A focused push button is pressed by Enter as by Space; there is still no
// default button that Enter presses from elsewhere.
bool TTargetCADForm::buttonKeyPress(QPushButton* button, QKeyEvent* event) {
    if ((event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) ||
        (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    if (!event->isAutoRepeat()) {
        button->click();
    }
    return true;
}

void TTargetCADForm::listSelectionChanged() {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    logic_.listSelectionChanged(selected.isEmpty() ? std::nullopt
                                                   : std::optional<std::size_t>(ListBox1->row(selected.front())));
}

void TTargetCADForm::showList(const std::vector<std::u16string>& entries, std::optional<std::size_t> selected) {
    const QSignalBlocker blocker(ListBox1);
    bool same = static_cast<std::size_t>(ListBox1->count()) == entries.size();
    for (std::size_t i = 0; same && i < entries.size(); ++i) {
        same = ListBox1->item(static_cast<int>(i))->text() == toQString(entries[i]);
    }
    if (!same) {
        ListBox1->clear();
        for (const std::u16string& entry : entries) {
            ListBox1->addItem(toQString(entry));
        }
    }
    if (selected) {
        ListBox1->setCurrentRow(static_cast<int>(*selected));
    } else {
        ListBox1->setCurrentRow(-1);
        ListBox1->clearSelection();
    }
}

std::u16string TTargetCADForm::labelText() const { return fromQString(Edit1->text()); }

std::u16string TTargetCADForm::progIdText() const { return fromQString(Edit2->text()); }

void TTargetCADForm::setFieldTexts(std::u16string_view label, std::u16string_view progId) {
    Edit1->setText(toQString(label));
    Edit2->setText(toQString(progId));
}

// The controls that can hold the focus, in the order of TargetCADControl.
std::array<QWidget*, 5> TTargetCADForm::focusable() const { return {ListBox1, Button1, Button2, Edit1, Edit2}; }

std::optional<TargetCADControl> TTargetCADForm::focusedControl() const {
    const std::array<QWidget*, 5> controls = focusable();
    const auto found = std::find(controls.begin(), controls.end(), focusWidget());
    if (focusWidget() == nullptr || found == controls.end()) {
        return std::nullopt;
    }
    return static_cast<TargetCADControl>(found - controls.begin());
}

void TTargetCADForm::focusControl(TargetCADControl target) {
    focusable().at(static_cast<std::size_t>(target))->setFocus();
}
void TTargetCADForm::closeModal(int result) { done(result); }

void TTargetCADForm::showError(std::u16string_view caption, std::u16string_view text) {
    boxes_.showError(this, toQString(caption), toQString(text));
}

}  // namespace orvane::ui
