#include "ui/qt/OrvaneUnit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QtGlobal>

#include "ui/qt/TaregetCADUnit.h"
#include "ui/qt/boxes.h"
#include "ui/qt/fonts.h"
#include "ui/qt/listfollower.h"
#include "ui/qt/searchbox.h"
#include "ui/qt/shape.h"
#include "ui/qt/slotmenubar.h"
#include "ui/qt/topmost.h"
#include "ui/qt/windowframe.h"
#include "ui/qt/x11/netwm.h"

namespace orvane::ui {

namespace {

// Client area at 96 DPI, below the title bar and the menu bar.
constexpr int kClientWidth = 467;
constexpr int kClientHeight = 26;
// The chooser's right edge keeps this distance from the client area's.
constexpr int kChooserLeft = 91;
constexpr int kChooserRightGap = 8;
constexpr int kMonitorIntervalMs = 1000;
constexpr int kLeaveMaximisedStep = 50;
constexpr int kLeaveMaximisedTries = 40;

QColor toColour(Colour rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

Bounds toBounds(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }
QRect toRect(const Bounds& bounds) { return {bounds.left, bounds.top, bounds.width, bounds.height}; }

std::u16string versionLine() { return platformVersionLine() + u", Qt " + fromQString(QString::fromLatin1(qVersion())); }

}  // namespace

TForm91::TForm91(PanelDependencies dependencies)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      deps_(std::move(dependencies)),
      panel_(*this, {deps_.programPath, deps_.runtime, deps_.windows, versionLine()}) {
    setWindowTitle(toQString(panel_.core().state().caption()));
    createControls();
    panel_.core().state().addObserver(this);

    // Counts from creation on; its ticks arrive whenever events are processed.
    Timer1 = new QTimer(this);
    Timer1->setInterval(kMonitorIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &TForm91::Timer1Timer);
    Timer1->start();

    leaveMaximisedTimer_ = new QTimer(this);
    leaveMaximisedTimer_->setInterval(kLeaveMaximisedStep);
    connect(leaveMaximisedTimer_, &QTimer::timeout, this, &TForm91::returnToNormalBounds);

    // Bounds are outer bounds, so the frame must be known before start-up
    // computes the centred default and the pull-back; so must the minimum
    // size, which the layout sets when it is activated.
    ensurePolished();
    layout()->activate();
    learnFrameExtents(this);
    panel_.create();
    listFollower_ = new ListFollower(panel_.core(), panel_.logic(), *MainMenu1, this);
}

TForm91::~TForm91() {
    // Nothing follows the list files once the shutdown has begun.
    delete listFollower_;
    panel_.destroy();
    Timer1->stop();
    panel_.core().state().removeObserver(this);
    // The widgets outlive the members they report to; nothing may reach the
    // core once it is gone.
    disconnect(ComboBox1, nullptr, this, nullptr);
    disconnect(CheckBox1, nullptr, this, nullptr);
    disconnect(MainMenu1, nullptr, this, nullptr);
    delete SearchBox1;
    delete targetCADForm_.data();
}

void TForm91::createControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    MainMenu1 = new SlotMenuBar(menuBar(), panel_.core().state().slots());
    connect(MainMenu1, &SlotMenuBar::itemClicked, this, &TForm91::N1011Click);

    Shape1 = new TShape(client);
    Shape1->setGeometry(0, 2, 9, 19);
    Shape1->setFill(toColour(panel_.core().state().shape1Fill()));

    CheckBox1 = new QCheckBox(QStringLiteral("IMEOFF"), client);
    CheckBox1->setGeometry(15, 3, 70, 17);
    CheckBox1->setFont(tahoma(13));
    CheckBox1->setChecked(panel_.core().state().checkBox1());
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool checked) { panel_.core().state().setCheckBox1(checked); });

    ComboBox1 = new QComboBox(client);
    ComboBox1->setEditable(false);
    ComboBox1->setMaxVisibleItems(8);
    // Styles that pop a non-editable chooser up over its field show every
    // entry and turn off the scroll bar of a list made under them; this one
    // drops down below the field and scrolls.
    ComboBox1->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    ComboBox1->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ComboBox1->setFont(tahoma(13));
    // First in tab order, but Tab never stops on it.
    ComboBox1->setFocusPolicy(Qt::ClickFocus);
    ComboBox1->setGeometry(kChooserLeft, 2, kClientWidth - kChooserLeft - kChooserRightGap, 24);
    connect(ComboBox1, &QComboBox::activated, this, &TForm91::ComboBox1Change);
    setTabOrder(ComboBox1, CheckBox1);

    SearchBox1 = new SearchBox(this);
    search_ = std::make_unique<SearchBoxLogic>(*SearchBox1, [this](const SearchItem& item) { panel_.runSearchItem(item); });
    SearchBox1->drive(*search_);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this), &QShortcut::activated, this, &TForm91::openSearchBox);

    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

void TForm91::openSearchBox() {
    search_->open(panel_.searchItems());
    SearchBox1->popUpUnder(menuBar());
}

TTargetCADForm* TForm91::createTargetCADForm() {
    if (!targetCADForm_) {
        targetCADForm_ = new TTargetCADForm(
            this, TargetCADFormDependencies{deps_.programPath, panel_.core().shared(), deps_.boxes, deps_.clock});
    }
    return targetCADForm_;
}

// The X server reports the native window's first placement after start-up
// applied the bounds, and Qt takes it over; the bounds from start-up win.
void TForm91::setVisible(bool visible) {
    if (visible && !shownBefore_) {
        shownBefore_ = true;
        boundsChanged();
    }
    QMainWindow::setVisible(visible);
}

void TForm91::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    panel_.logic().boundsReported();
}

void TForm91::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The layout has not placed the client area yet; anchor against the
    // window's width, which the client area spans.
    const int width = event->size().width() - kChooserLeft - kChooserRightGap;
    ComboBox1->setGeometry(kChooserLeft, 2, qMax(0, width), 24);
    panel_.logic().boundsReported();
}

void TForm91::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        panel_.logic().boundsReported();
    }
}

// Some window managers maximise a window whatever its hints say; the panel
// is never maximised.
bool TForm91::windowMaximised() const {
    if (isMaximized()) {
        return true;
    }
    _XDisplay* display = x11::qtDisplay();
    return display != nullptr && x11::maximised(display, static_cast<x11::XWindowId>(winId()));
}

// Back to the normal bounds. The window manager puts the window back where
// it was, but the bounds it reports while maximising may reach the state
// before its maximised state shows, and its last move may come while that
// state still shows: ask until it has left it, then take the bounds anew.
void TForm91::leaveMaximised() {
    leaveMaximisedTries_ = 0;
    if (!leaveMaximisedTimer_->isActive()) {
        leaveMaximisedTimer_->start();
    }
}

void TForm91::returnToNormalBounds() {
    if (windowMaximised()) {
        // A window manager that keeps the state is asked for a while, not for ever.
        if (++leaveMaximisedTries_ > kLeaveMaximisedTries) {
            leaveMaximisedTimer_->stop();
            return;
        }
        x11::requestNotMaximised(x11::qtDisplay(), static_cast<x11::XWindowId>(winId()));
        setWindowState(windowState() & ~Qt::WindowMaximized);
        return;
    }
    leaveMaximisedTimer_->stop();
    panel_.logic().boundsReported();
}

bool TForm91::windowShown() const { return isVisible(); }

bool TForm91::windowMinimised() const { return isMinimized(); }

Bounds TForm91::outerBounds() const { return toBounds(physicalOuterBounds(this)); }

void TForm91::applyOuterBounds(const Bounds& bounds) { setPhysicalOuterBounds(this, toRect(bounds)); }

Size TForm91::currentSize() const {
    const QRect outer = physicalOuterBounds(this);
    return {outer.width(), outer.height()};
}

Size TForm91::primaryScreenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    const QRect physical = toPhysical(screen->geometry(), screen->devicePixelRatio());
    return {physical.width(), physical.height()};
}

void TForm91::SetTopMost(bool on) { ui::SetTopMost(this, on); }

void TForm91::processPendingMessages() { QCoreApplication::processEvents(); }

void TForm91::captionChanged() { setWindowTitle(toQString(panel_.core().state().caption())); }

void TForm91::boundsChanged() { panel_.logic().boundsChanged(); }

void TForm91::chooserEntriesChanged() {
    const QSignalBlocker quiet(ComboBox1);
    // One insertion for them all: the combo box relays out once, not per entry.
    const auto& entries = panel_.core().state().comboBox1().entries();
    QStringList items;
    items.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::u16string& entry : entries) {
        items << toQString(entry);
    }
    ComboBox1->clear();
    ComboBox1->addItems(items);
    chooserSelectionChanged();
}

void TForm91::chooserSelectionChanged() {
    const QSignalBlocker quiet(ComboBox1);
    const auto selected = panel_.core().state().comboBox1().selectedIndex();
    ComboBox1->setCurrentIndex(selected ? static_cast<int>(*selected) : -1);
}

void TForm91::checkBoxChanged() {
    const QSignalBlocker quiet(CheckBox1);
    CheckBox1->setChecked(panel_.core().state().checkBox1());
}

void TForm91::lampChanged() { Shape1->setFill(toColour(panel_.core().state().shape1Fill())); }

void TForm91::slotChanged(int number) { MainMenu1->refresh(number); }

void TForm91::closeWindow() { close(); }

void TForm91::cancelModalWindows() {
    if (targetCADForm_ && targetCADForm_->isVisible()) {
        targetCADForm_->done(kModalResultCancel);
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && dialog != targetCADForm_ && dialog->isVisible()) {
            dialog->done(QDialog::Rejected);
        }
    }
}

void TForm91::showError(std::u16string_view caption, std::u16string_view text) {
    // Start-up's errors come before the panel is shown: they have no owner.
    deps_.boxes.showError(isVisible() ? this : nullptr, toQString(caption), toQString(text));
}

void TForm91::showInformation(std::u16string_view caption, std::u16string_view text) {
    deps_.boxes.showInformation(this, toQString(caption), toQString(text));
}

bool TForm91::showTargetCADDialog() { return createTargetCADForm()->ShowModal() == kModalResultOK; }

std::u16string TForm91::targetDialogName() const {
    return targetCADForm_ ? fromQString(targetCADForm_->Edit1->text()) : std::u16string();
}

void TForm91::setDialogTopMost(bool on) { ui::SetTopMost(createTargetCADForm(), on); }

void TForm91::setPanelTopMost(bool on) { ui::SetTopMost(this, on); }

}  // namespace orvane::ui
