#include "ui/TaregetCADUnit.h"

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

#include "core/paths.h"
#include "core/sortedlist.h"
#include "ui/boxes.h"
#include "ui/fonts.h"
#include "ui/inputmethod.h"
#include "ui/windowframe.h"

namespace orvane::ui {

namespace {

constexpr char16_t kEnter = 13;

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
      deps_(std::move(dependencies)),
      list_(extractFilePath(deps_.programPath)),
      typeAhead_(deps_.clock) {
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
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { report([&] { listSelectionChanged(); }); });

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
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { report([&] { SpeedButton1Click(); }); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { report([&] { SpeedButton2Click(); }); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { report([&] { SpeedButton3Click(); }); });

    Button1 = pushButton(this, QStringLiteral("OK"), {80, 271, 75, 25});
    Button2 = pushButton(this, QStringLiteral("取り消し"), {161, 271, 88, 25});
    connect(Button1, &QPushButton::clicked, this, [this] { report([&] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(kModalResultCancel); });
    for (QPushButton* button : {Button1, Button2}) {
        button->installEventFilter(this);
    }

    setTabOrder(ListBox1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Edit1);
    setTabOrder(Edit1, Edit2);
}

template <typename Handler>
void TTargetCADForm::report(Handler&& handler) {
    runHandler(deps_.boxes, this, deps_.programPath, std::forward<Handler>(handler));
}

int TTargetCADForm::ShowModal() {
    centreOnWorkArea();
    // An error while showing is reported, and the dialog still opens.
    report([&] { FormShow(); });
    QWidget* focus = shownBefore_ && lastFocus_ ? lastFocus_.data() : ListBox1;
    focus->setFocus();
    shownBefore_ = true;
    return exec();
}

void TTargetCADForm::centreOnWorkArea() {
    if (!shownBefore_) {
        learnFrameExtents(this);
    }
    const QScreen* screen = shownBefore_ ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect workArea = screen->availableGeometry();
    QRect outer = outerGeometry(this);
    outer.moveTopLeft({workArea.x() + (workArea.width() - outer.width()) / 2,
                       workArea.y() + (workArea.height() - outer.height()) / 2});
    setOuterGeometry(this, outer);
}

void TTargetCADForm::FormShow() {
    if (!list_.Reload()) {
        return;
    }
    showList();
    if (list_.SelectProgID(deps_.shared.TargetProgID)) {
        showList();
        fillFieldsFromSelection();
    }
}

void TTargetCADForm::ListBox1Click() { fillFieldsFromSelection(); }

void TTargetCADForm::SpeedButton1Click() {
    list_.AddEntry(fromQString(Edit1->text()), fromQString(Edit2->text()));
    showList();
    fillFieldsFromSelection();
    list_.Save();
}

void TTargetCADForm::SpeedButton2Click() {
    const bool hadSelection = list_.selectedIndex().has_value();
    list_.DeleteSelected();
    showList();
    Edit1->clear();
    Edit2->clear();
    if (!hadSelection && list_.count() > 0) {
        throw listIndexError(-1);
    }
    fillFieldsFromSelection();
    list_.Save();
}

void TTargetCADForm::SpeedButton3Click() {
    list_.ChangeSelected(fromQString(Edit1->text()), fromQString(Edit2->text()));
    showList();
    list_.Save();
}

bool TTargetCADForm::Edit1KeyPress(char16_t key) {
    if (key != kEnter) {
        return false;
    }
    SpeedButton3Click();
    return true;
}

void TTargetCADForm::Button1Click() {
    deps_.shared.TargetProgID = fromQString(Edit2->text());
    done(kModalResultOK);
}

void TTargetCADForm::listTypeAhead(const TypeAhead::Selection& selection) {
    if (selection.first) {
        if (list_.count() == 0) {
            throw listIndexError(-1);
        }
        selectByUser(0);
        showList();
    } else if (selection.index) {
        selectByUser(*selection.index);
        showList();
    }
}

void TTargetCADForm::done(int result) {
    lastFocus_ = focusWidget();
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
        report([&] { Edit1KeyPress(kEnter); });
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
    const std::vector<std::u16string>& entries = list_.entries().entries();
    if (event->key() == Qt::Key_Backspace) {
        report([&] { listTypeAhead(typeAhead_.backspace(entries)); });
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || text.front() < QChar(0x20) || text.front() == QChar(0x7F)) {
        return false;
    }
    for (const QChar character : text) {
        report([&] { listTypeAhead(typeAhead_.type(character.unicode(), entries)); });
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
    if (selected.isEmpty()) {
        list_.select(std::nullopt);
    } else {
        selectByUser(static_cast<std::size_t>(ListBox1->row(selected.front())));
    }
}

void TTargetCADForm::selectByUser(std::size_t row) {
    list_.select(row);
    ListBox1Click();
}

void TTargetCADForm::showList() {
    const QSignalBlocker blocker(ListBox1);
    const std::vector<std::u16string>& entries = list_.entries().entries();
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
    if (const auto selected = list_.selectedIndex()) {
        ListBox1->setCurrentRow(static_cast<int>(*selected));
    } else {
        ListBox1->setCurrentRow(-1);
        ListBox1->clearSelection();
    }
}

void TTargetCADForm::fillFieldsFromSelection() {
    if (const auto selected = list_.selectedIndex()) {
        const TargetCADEntry entry = list_.SplitEntry(*selected);
        Edit1->setText(toQString(entry.label));
        Edit2->setText(toQString(entry.progId));
    }
}

}  // namespace orvane::ui
