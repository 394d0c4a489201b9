#include "ui/win32/OrvaneUnit.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/menubarlayout.h"
#include "ui/win32/TaregetCADUnit.h"
#include "ui/win32/applicationicon.h"
#include "ui/win32/boxes.h"
#include "ui/win32/dpi.h"
#include "ui/win32/listfollower.h"
#include "ui/win32/slategrey.h"
#include "ui/win32/widetext.h"
#include "ui/win32/windowclass.h"

namespace orvane::ui::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"OrvanePanel";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
// Tab moves between the controls as in a dialog.
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

// Client area at 96 DPI, below the title bar and the menu bar.
constexpr int kClientWidth = 467;
constexpr int kClientHeight = 26;
constexpr int kChooserLeft = 91;
// The chooser's right edge keeps this distance from the client area's.
constexpr int kChooserRightGap = 8;
constexpr int kChooserVisibleEntries = 8;
constexpr int kFontHeight = 13;
constexpr UINT kMonitorIntervalMs = 1000;
constexpr UINT_PTR kTimer1 = 1;

// Control ids stay below the slot numbers, which are the menu's command ids.
constexpr int kCheckBox1Id = 11;
constexpr int kComboBox1Id = 12;
// Many slots change at once when a list loads; the bar is rebuilt once after.
constexpr UINT kRebuildMenuBar = WM_APP + 1;

COLORREF colourRef(Colour rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

Bounds toBounds(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

TForm91::TForm91(PanelDependencies dependencies)
    : deps_(std::move(dependencies)),
      panel_(*this, {deps_.programPath, deps_.runtime, deps_.windows, platformVersionLine() + u", Win32"}) {
    createWindow();
    createControls();
    core().state().addObserver(this);
    applyDesignedSize();
    rebuildMenuBar();
    SetTimer(window_, kTimer1, kMonitorIntervalMs, nullptr);
    panel_.create();
    listFollower_ = std::make_unique<ListFollower>(panel_.core(), panel_.logic(), window_);
}

TForm91::~TForm91() {
    // Nothing follows the list files once the shutdown has begun.
    listFollower_.reset();
    panel_.destroy();
    KillTimer(window_, kTimer1);
    core().state().removeObserver(this);
    targetCADForm_.reset();
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    if (MainMenu1 != nullptr) {
        DestroyMenu(MainMenu1);
    }
}

void TForm91::createWindow() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerWindowClass(kWindowClass, DefWindowProcW, slategrey::windowBrush(),
                        applicationIcon(instance, GetSystemMetrics(SM_CXICON)),
                        applicationIcon(instance, GetSystemMetrics(SM_CXSMICON)));
    window_ = CreateWindowExW(kExStyle, kWindowClass, wideText(core().state().caption()).c_str(), kStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(&objectWindowProcedure<TForm91, &TForm91::handleMessage>));
    dpi_ = windowDpi(window_);
    MainMenu1 = CreateMenu();
    SetMenu(window_, MainMenu1);
}

void TForm91::createControls() {
    CheckBox1 = CreateWindowExW(0, WC_BUTTONW, L"IMEOFF", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0,
                                0, 0, window_, reinterpret_cast<HMENU>(kCheckBox1Id), nullptr, nullptr);
    // A drop-down list without sorting keeps the core's order; not a tab stop.
    ComboBox1 = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 0,
                                0, window_, reinterpret_cast<HMENU>(kComboBox1Id), nullptr, nullptr);
    SendMessageW(ComboBox1, CB_SETMINVISIBLE, kChooserVisibleEntries, 0);
    SendMessageW(CheckBox1, BM_SETCHECK, core().state().checkBox1() ? BST_CHECKED : BST_UNCHECKED, 0);
    applyFonts();
}

// The client area is 467 × 26 below a menu bar of one row, as a list's few
// menus take; the numbered grid before any list wraps onto more rows.
void TForm91::applyDesignedSize() {
    RECT outer{0, 0, scaled(kClientWidth), scaled(kClientHeight)};
    AdjustWindowRectExForDpi(&outer, kStyle, TRUE, kExStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    layoutControls();
}

void TForm91::applyFonts() {
    FontHandle font = tahoma(kFontHeight, dpi_);
    setFont(CheckBox1, font.get());
    setFont(ComboBox1, font.get());
    font_ = std::move(font);
}

void TForm91::layoutControls() {
    RECT client{};
    GetClientRect(window_, &client);
    MoveWindow(CheckBox1, scaled(15), scaled(3), scaled(70), scaled(17), TRUE);
    const int chooserWidth = std::max(0, static_cast<int>(client.right) - scaled(kChooserLeft + kChooserRightGap));
    // A drop-down list's height is its field and its list together.
    const auto entryHeight = static_cast<int>(SendMessageW(ComboBox1, CB_GETITEMHEIGHT, 0, 0));
    MoveWindow(ComboBox1, scaled(kChooserLeft), scaled(2), chooserWidth,
               scaled(24) + entryHeight * kChooserVisibleEntries + 2, TRUE);
    InvalidateRect(window_, nullptr, TRUE);
}

int TForm91::scaled(int pixelsAt96Dpi) const { return win32::scaled(pixelsAt96Dpi, dpi_); }

RECT TForm91::lampRect() const { return {0, scaled(2), scaled(9), scaled(2 + 19)}; }

void TForm91::paintLamp(HDC dc) const {
    const RECT lamp = lampRect();
    const HBRUSH fill = CreateSolidBrush(colourRef(core().state().shape1Fill()));
    const HGDIOBJ oldBrush = SelectObject(dc, fill);
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, lamp.left, lamp.top, lamp.right, lamp.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(fill);
}

TTargetCADForm* TForm91::createTargetCADForm() {
    if (!targetCADForm_) {
        targetCADForm_ = std::make_unique<TTargetCADForm>(
            window_, TargetCADFormDependencies{deps_.programPath, core().shared(), deps_.boxes, deps_.clock});
    }
    return targetCADForm_.get();
}

void TForm91::show() {
    if (menuRebuildPending_) {
        rebuildMenuBar();
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    // The bounds from start-up win over where the system placed the window.
    boundsChanged();
}

LRESULT TForm91::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kTimer1) {
            Timer1Timer();
            return 0;
        }
        if (wParam == ListFollower::kTimerId) {
            listFollower_->timerExpired();
            return 0;
        }
        break;
    case ListFollower::kFolderChanged:
        listFollower_->folderChanged();
        return 0;
    case WM_ENTERMENULOOP:
        listFollower_->menuOpened();
        break;
    case WM_EXITMENULOOP:
        listFollower_->menusClosed();
        break;
    case WM_COMMAND:
        handleCommand(wParam, lParam);
        return 0;
    case kRebuildMenuBar:
        rebuildMenuBar();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(window_, &paint);
        paintLamp(dc);
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(slategrey::controlColour(message, reinterpret_cast<HDC>(wParam)));
    case WM_MOVE:
        panel_.logic().boundsReported();
        return 0;
    case WM_SIZE:
        layoutControls();
        panel_.logic().boundsReported();
        return 0;
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        applyFonts();
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        layoutControls();
        return 0;
    }
    case WM_CLOSE:
        // The window stays until the program ends: shutdown reads its state.
        PostQuitMessage(0);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The process may end as soon as this returns: shut down now.
        if (wParam != FALSE) {
            panel_.destroy();
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void TForm91::handleCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int notification = HIWORD(wParam);
    if (lParam == 0) {
        // A menu item: its id is the slot's number.
        if (notification == 0) {
            N1011Click(id);
        }
        return;
    }
    if (id == kCheckBox1Id && notification == BN_CLICKED) {
        core().state().setCheckBox1(SendMessageW(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED);
    } else if (id == kComboBox1Id && notification == CBN_SELCHANGE) {
        ComboBox1Change(static_cast<int>(SendMessageW(ComboBox1, CB_GETCURSEL, 0, 0)));
    }
}

bool TForm91::translateShortcut(const MSG& message) {
    const bool inPanel = message.hwnd == window_ || IsChild(window_, message.hwnd) != FALSE;
    const bool ctrlOnly = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0;
    if (!inPanel || message.message != WM_KEYDOWN || message.wParam != 'F' || !ctrlOnly) {
        return false;
    }
    searchBox_.open(window_, panel_.searchItems());
    return true;
}

void TForm91::scheduleMenuRebuild() {
    if (!menuRebuildPending_) {
        menuRebuildPending_ = true;
        PostMessageW(window_, kRebuildMenuBar, 0, 0);
    }
}

void TForm91::rebuildMenuBar() {
    menuRebuildPending_ = false;
    while (GetMenuItemCount(MainMenu1) > 0) {
        DeleteMenu(MainMenu1, 0, MF_BYPOSITION);
    }
    for (const MenuBarMenu& menu : menuBarLayout(core().state().slots())) {
        const HMENU dropDown = CreatePopupMenu();
        for (const MenuBarItem& item : menu.items) {
            if (item.separator) {
                AppendMenuW(dropDown, MF_SEPARATOR, 0, nullptr);
            } else {
                AppendMenuW(dropDown, MF_STRING, static_cast<UINT_PTR>(item.number), wideText(item.caption).c_str());
            }
        }
        AppendMenuW(MainMenu1, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(dropDown),
                    wideText(menu.caption).c_str());
    }
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = slategrey::menuBarBrush();
    SetMenuInfo(MainMenu1, &info);
    DrawMenuBar(window_);
}

Size TForm91::currentSize() const {
    const Bounds bounds = outerBounds();
    return {bounds.width, bounds.height};
}

Size TForm91::primaryScreenSize() const { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

void TForm91::SetTopMost(bool on) {
    SetWindowPos(window_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm91::processPendingMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The program's own loop ends on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void TForm91::captionChanged() { SetWindowTextW(window_, wideText(core().state().caption()).c_str()); }

void TForm91::boundsChanged() { panel_.logic().boundsChanged(); }

void TForm91::chooserEntriesChanged() {
    const auto& entries = core().state().comboBox1().entries();
    SendMessageW(ComboBox1, CB_RESETCONTENT, 0, 0);
    // Room for them all at once rather than grown entry by entry.
    SendMessageW(ComboBox1, CB_INITSTORAGE, entries.size(), 0);
    for (const std::u16string& entry : entries) {
        SendMessageW(ComboBox1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideText(entry).c_str()));
    }
    chooserSelectionChanged();
}

void TForm91::chooserSelectionChanged() {
    const auto selected = core().state().comboBox1().selectedIndex();
    SendMessageW(ComboBox1, CB_SETCURSEL, selected ? static_cast<WPARAM>(*selected) : static_cast<WPARAM>(-1), 0);
}

void TForm91::checkBoxChanged() {
    SendMessageW(CheckBox1, BM_SETCHECK, core().state().checkBox1() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TForm91::lampChanged() {
    const RECT lamp = lampRect();
    InvalidateRect(window_, &lamp, FALSE);
}

void TForm91::slotChanged(int /*number*/) { scheduleMenuRebuild(); }

bool TForm91::windowShown() const { return IsWindowVisible(window_) != FALSE; }

bool TForm91::windowMinimised() const { return IsIconic(window_) != FALSE; }

bool TForm91::windowMaximised() const { return IsZoomed(window_) != FALSE; }

void TForm91::leaveMaximised() { ShowWindow(window_, SW_RESTORE); }

// A minimised window's bounds are the ones it is restored to.
Bounds TForm91::outerBounds() const {
    if (IsIconic(window_) != FALSE) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(window_, &placement);
        return toBounds(placement.rcNormalPosition);
    }
    RECT outer{};
    GetWindowRect(window_, &outer);
    return toBounds(outer);
}

void TForm91::applyOuterBounds(const Bounds& bounds) {
    if (IsIconic(window_) != FALSE) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(window_, &placement);
        placement.rcNormalPosition = {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
        SetWindowPlacement(window_, &placement);
        return;
    }
    SetWindowPos(window_, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm91::cancelModalWindows() {
    search_.dismiss();
    if (targetCADForm_ && targetCADForm_->isShowing()) {
        targetCADForm_->endModal(kModalResultCancel);
    }
}

// A message box's own loop ends when the quit that the close posts reaches
// it, and posts the quit again for the loops around it.
void TForm91::closeWindow() { PostMessageW(window_, WM_CLOSE, 0, 0); }

void TForm91::showError(std::u16string_view caption, std::u16string_view text) {
    // Start-up's errors come before the panel is shown: they have no owner.
    deps_.boxes.showError(windowShown() ? window_ : nullptr, caption, text);
}

void TForm91::showInformation(std::u16string_view caption, std::u16string_view text) {
    deps_.boxes.showInformation(window_, caption, text);
}

bool TForm91::showTargetCADDialog() { return createTargetCADForm()->ShowModal() == kModalResultOK; }

std::u16string TForm91::targetDialogName() const {
    return targetCADForm_ ? windowText(targetCADForm_->Edit1) : std::u16string();
}

void TForm91::setDialogTopMost(bool on) {
    SetWindowPos(createTargetCADForm()->handle(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm91::setPanelTopMost(bool on) { SetTopMost(on); }

}  // namespace orvane::ui::win32
