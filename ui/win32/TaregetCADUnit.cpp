#include "ui/win32/TaregetCADUnit.h"

#include <commctrl.h>
#include <imm.h>
#include <windowsx.h>

#include <algorithm>

#include "ui/win32/boxes.h"
#include "ui/win32/dpi.h"
#include "ui/win32/slategrey.h"
#include "ui/win32/widetext.h"
#include "ui/win32/windowclass.h"

namespace orvane::ui::win32 {

namespace {

constexpr wchar_t kClassName[] = L"OrvaneTargetCADForm";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kClientWidth = 315;
constexpr int kClientHeight = 307;
// Where the frame's controls lie; their positions are given relative to it.
constexpr int kFrameX = 8;
constexpr int kFrameY = 151;
// Between the widest label in the list and its ProgID column.
constexpr int kColumnGap = 12;

// IDOK and IDCANCEL are what the dialog manager sends for Enter and Escape,
// so no control carries them.
enum ControlId : int {
    kListBox1 = 100,
    kEdit1,
    kEdit2,
    kSpeedButton1,
    kSpeedButton2,
    kSpeedButton3,
    kButton1,
    kButton2,
    kStatic,
};

void switchInputMethodOff(HWND field) {
    if (HIMC context = ImmGetContext(field)) {
        ImmSetOpenStatus(context, FALSE);
        ImmReleaseContext(field, context);
    }
}

std::u16string listText(HWND list, int index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return std::u16string(text.begin(), text.begin() + length);
}

SIZE textExtent(HDC dc, std::u16string_view text) {
    SIZE size{};
    const std::wstring wide = wideText(text);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

// Measures texts in a window's font.
class FontDC {
public:
    FontDC(HWND window, HFONT font) : window_(window), dc_(GetDC(window)), old_(SelectObject(dc_, font)) {}
    ~FontDC() {
        SelectObject(dc_, old_);
        ReleaseDC(window_, dc_);
    }
    FontDC(const FontDC&) = delete;
    FontDC& operator=(const FontDC&) = delete;
    int width(std::u16string_view text) const { return textExtent(dc_, text).cx; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace

TTargetCADForm::TTargetCADForm(HWND owner, TargetCADFormDependencies dependencies)
    : TargetCADFormHandlers(*this, dependencies.settings()), boxes_(dependencies.boxes), owner_(owner) {
    registerWindowClass(kClassName, &TTargetCADForm::windowProc, slategrey::windowBrush());
    // The owner keeps the dialog off the task bar and above itself.
    CreateWindowExW(kExStyle, kClassName, L"ターゲット CAD", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, kClientWidth,
                    kClientHeight, owner, nullptr, GetModuleHandleW(nullptr), this);
    createControls();
    applyDpi(windowDpi(window_));
}

TTargetCADForm::~TTargetCADForm() { DestroyWindow(window_); }

void TTargetCADForm::createControls() {
    // Created in tab order: the dialog manager tabs through the children in
    // the order they were made.
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    ListBox1 = child(WC_LISTBOXW, L"",
                     kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_USETABSTOPS |
                         LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
                     kListBox1, {8, 8, 297, 137}, &TTargetCADForm::fieldFont_, WS_EX_CLIENTEDGE);
    Button1 = child(WC_BUTTONW, L"OK", kChild | WS_TABSTOP | BS_PUSHBUTTON, kButton1, {80, 271, 75, 25},
                    &TTargetCADForm::buttonFont_);
    Button2 = child(WC_BUTTONW, L"取り消し", kChild | WS_TABSTOP | BS_PUSHBUTTON, kButton2, {161, 271, 88, 25},
                    &TTargetCADForm::buttonFont_);
    GroupBox1 = child(WC_BUTTONW, L"", kChild | BS_GROUPBOX, kStatic, {kFrameX, kFrameY, 297, 105},
                      &TTargetCADForm::buttonFont_);
    const auto inFrame = [](int x, int y, int width, int height) {
        return Bounds{kFrameX + x, kFrameY + y, width, height};
    };
    Label1 = child(WC_STATICW, L"名称 （説明）", kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kStatic,
                   inFrame(16, 3, 64, 14), &TTargetCADForm::labelFont_);
    Edit1 = child(WC_EDITW, L"", kChild | WS_TABSTOP | ES_AUTOHSCROLL, kEdit1, inFrame(16, 23, 198, 24),
                  &TTargetCADForm::fieldFont_, WS_EX_CLIENTEDGE);
    Label2 = child(WC_STATICW, L"ProgID （クラス文字列）", kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kStatic,
                   inFrame(16, 53, 114, 14), &TTargetCADForm::labelFont_);
    Edit2 = child(WC_EDITW, L"", kChild | WS_TABSTOP | ES_AUTOHSCROLL, kEdit2, inFrame(16, 73, 198, 24),
                  &TTargetCADForm::fieldFont_, WS_EX_CLIENTEDGE);
    SpeedButton1 = child(WC_BUTTONW, L"追加", kChild | BS_PUSHBUTTON, kSpeedButton1, inFrame(220, 21, 71, 22),
                         &TTargetCADForm::buttonFont_);
    SpeedButton2 = child(WC_BUTTONW, L"削除", kChild | BS_PUSHBUTTON, kSpeedButton2, inFrame(220, 49, 71, 22),
                         &TTargetCADForm::buttonFont_);
    SpeedButton3 = child(WC_BUTTONW, L"変更", kChild | BS_PUSHBUTTON, kSpeedButton3, inFrame(220, 77, 71, 22),
                         &TTargetCADForm::buttonFont_);
    for (HWND field : {Edit1, Edit2}) {
        SetWindowSubclass(field, &TTargetCADForm::fieldProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    for (HWND button : {SpeedButton1, SpeedButton2, SpeedButton3}) {
        SetWindowSubclass(button, &TTargetCADForm::speedButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }
}

HWND TTargetCADForm::child(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id, Bounds at96,
                           FontHandle TTargetCADForm::*font, DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, windowClass, text, style, at96.x, at96.y, at96.width, at96.height, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                   nullptr);
    placed_.push_back({control, at96, font});
    return control;
}

void TTargetCADForm::applyDpi(UINT dpi) {
    dpi_ = dpi;
    buttonFont_ = tahoma(11, dpi);
    fieldFont_ = tahoma(13, dpi);
    labelFont_ = tahoma(12, dpi);
    for (const Placed& placed : placed_) {
        HFONT font = (this->*placed.font).get();
        setFont(placed.control, font);
        int width = scaled(placed.at96.width, dpi);
        if (placed.control == Label1 || placed.control == Label2) {
            // A substitute font may be wider than Tahoma; the text is never cut.
            width = std::max(width, FontDC(placed.control, font).width(windowText(placed.control)));
        }
        SetWindowPos(placed.control, nullptr, scaled(placed.at96.x, dpi), scaled(placed.at96.y, dpi), width,
                     scaled(placed.at96.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT outer{0, 0, scaled(kClientWidth, dpi), scaled(kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&outer, kStyle, FALSE, kExStyle, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TTargetCADForm::ShowModal() {
    centreOnWorkArea();
    result_ = kModalResultCancel;
    showing_ = true;
    // EnableWindow answers whether the window was disabled before.
    const bool ownerWasEnabled = owner_ != nullptr && !EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOW);
    logic_.showing();
    MSG message;
    while (showing_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the caller's loop sees the quit too.
            if (got == 0) {
                PostQuitMessage(static_cast<int>(message.wParam));
            }
            endModal(kModalResultCancel);
            break;
        }
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    logic_.closing();
    // Before hiding, so that the activation goes back to the owner.
    if (ownerWasEnabled) {
        EnableWindow(owner_, TRUE);
    }
    ShowWindow(window_, SW_HIDE);
    return result_;
}

void TTargetCADForm::endModal(int result) {
    result_ = result;
    showing_ = false;
}

void TTargetCADForm::centreOnWorkArea() {
    // The first time on the primary monitor, later on the one it is on.
    HMONITOR monitor = logic_.shownBefore() ? MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST)
                                            : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) {
        return;
    }
    RECT outer{};
    GetWindowRect(window_, &outer);
    const RECT& work = info.rcWork;
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK TTargetCADForm::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<TTargetCADForm*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* form = reinterpret_cast<TTargetCADForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return form != nullptr ? form->dispatch(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TTargetCADForm::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CHARTOITEM:
        return listCharacter(static_cast<char16_t>(LOWORD(wParam)));
    case WM_VKEYTOITEM:
        // The list's own handling of arrows and paging.
        return -1;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(slategrey::controlColour(message, reinterpret_cast<HDC>(wParam)));
    case WM_CLOSE:
        // The title bar's close button cancels; the window stays for the next showing.
        endModal(kModalResultCancel);
        return 0;
    case WM_DPICHANGED: {
        applyDpi(HIWORD(wParam));
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void TTargetCADForm::command(int id, int notification, HWND control) {
    switch (id) {
    case kSpeedButton1:
        logic_.report([&] { SpeedButton1Click(); });
        break;
    case kSpeedButton2:
        logic_.report([&] { SpeedButton2Click(); });
        break;
    case kSpeedButton3:
        logic_.report([&] { SpeedButton3Click(); });
        break;
    case kButton1:
        logic_.report([&] { Button1Click(); });
        break;
    case kButton2:
        endModal(kModalResultCancel);
        break;
    case kListBox1:
        if (notification == LBN_SELCHANGE) {
            const LRESULT row = SendMessageW(ListBox1, LB_GETCURSEL, 0, 0);
            logic_.listSelectionChanged(row == LB_ERR ? std::nullopt
                                                      : std::optional<std::size_t>(static_cast<std::size_t>(row)));
        }
        break;
    case kEdit1:
    case kEdit2:
        if (notification == EN_SETFOCUS) {
            switchInputMethodOff(control);
        }
        break;
    case IDOK: {
        // Enter: a focused push button is pressed as by Space; there is no
        // default button that Enter presses from elsewhere.
        HWND focus = GetFocus();
        if (focus == Button1 || focus == Button2) {
            SendMessageW(focus, BM_CLICK, 0, 0);
        }
        break;
    }
    default:
        // Escape comes as IDCANCEL: there is no cancel button.
        break;
    }
}

LRESULT TTargetCADForm::listCharacter(char16_t character) {
    // -2: the list does no search of its own; -1: the list's own handling.
    if (character == u'\b') {
        logic_.listBackspace();
        return -2;
    }
    if (character < 0x20 || character == 0x7F) {
        return -1;
    }
    logic_.listTyped(character);
    return -2;
}

LRESULT CALLBACK TTargetCADForm::fieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR form) {
    auto& self = *reinterpret_cast<TTargetCADForm*>(form);
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter comes to the field instead of the dialog manager.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = DefSubclassProc(field, message, wParam, lParam);
        return key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN ? code | DLGC_WANTALLKEYS
                                                                                           : code;
    }
    case WM_CHAR:
        if (wParam == u'\r') {
            self.logic_.report([&] { self.Edit1KeyPress(u'\r'); });
            return 0;
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

// A button that is pressed and released like any other, but never takes the
// focus: the standard one takes it on the mouse press.
LRESULT CALLBACK TTargetCADForm::speedButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(button);
        SendMessageW(button, BM_SETSTATE, TRUE, 0);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == button) {
            RECT client{};
            GetClientRect(button, &client);
            SendMessageW(button, BM_SETSTATE, PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), 0);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == button) {
            const bool pressed = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
            ReleaseCapture();
            if (pressed) {
                SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
            }
        }
        return 0;
    case WM_CAPTURECHANGED:
        SendMessageW(button, BM_SETSTATE, FALSE, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

void TTargetCADForm::showList(const std::vector<std::u16string>& entries, std::optional<std::size_t> selected) {
    bool same = static_cast<std::size_t>(SendMessageW(ListBox1, LB_GETCOUNT, 0, 0)) == entries.size();
    for (std::size_t i = 0; same && i < entries.size(); ++i) {
        same = listText(ListBox1, static_cast<int>(i)) == entries[i];
    }
    if (!same) {
        SendMessageW(ListBox1, WM_SETREDRAW, FALSE, 0);
        SendMessageW(ListBox1, LB_RESETCONTENT, 0, 0);
        for (const std::u16string& entry : entries) {
            SendMessageW(ListBox1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideText(entry).c_str()));
        }
        setListTabStop(entries);
        SendMessageW(ListBox1, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(ListBox1, nullptr, TRUE);
    }
    SendMessageW(ListBox1, LB_SETCURSEL, selected ? static_cast<WPARAM>(*selected) : static_cast<WPARAM>(-1), 0);
}

// One tab stop just past the widest label, so that the ProgIDs line up.
void TTargetCADForm::setListTabStop(const std::vector<std::u16string>& entries) {
    const FontDC measure(ListBox1, fieldFont_.get());
    int widest = 0;
    for (const std::u16string& entry : entries) {
        widest = std::max(widest, measure.width(std::u16string_view(entry).substr(0, entry.find(u'\t'))));
    }
    // Tab stops count quarters of the list font's average character width.
    const int average = (measure.width(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
    INT stop = MulDiv(widest + scaled(kColumnGap, dpi_), 4, std::max(average, 1));
    SendMessageW(ListBox1, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
}

std::u16string TTargetCADForm::labelText() const { return windowText(Edit1); }

std::u16string TTargetCADForm::progIdText() const { return windowText(Edit2); }

void TTargetCADForm::setFieldTexts(std::u16string_view label, std::u16string_view progId) {
    SetWindowTextW(Edit1, wideText(label).c_str());
    SetWindowTextW(Edit2, wideText(progId).c_str());
}

// The controls that can hold the focus, in the order of TargetCADControl.
std::array<HWND, 5> TTargetCADForm::focusable() const { return {ListBox1, Button1, Button2, Edit1, Edit2}; }

std::optional<TargetCADControl> TTargetCADForm::focusedControl() const {
    const std::array<HWND, 5> controls = focusable();
    HWND focus = GetFocus();
    const auto found = std::find(controls.begin(), controls.end(), focus);
    if (focus == nullptr || found == controls.end()) {
        return std::nullopt;
    }
    return static_cast<TargetCADControl>(found - controls.begin());
}

void TTargetCADForm::focusControl(TargetCADControl control) {
    SetFocus(focusable().at(static_cast<std::size_t>(control)));
}

void TTargetCADForm::closeModal(int result) { endModal(result); }

void TTargetCADForm::showError(std::u16string_view caption, std::u16string_view text) {
    boxes_.showError(window_, caption, text);
}

}  // namespace orvane::ui::win32
