#include "ui/win32/searchbox.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "ui/menubarlayout.h"
#include "ui/win32/dpi.h"
#include "ui/win32/slategrey.h"
#include "ui/win32/widetext.h"
#include "ui/win32/windowclass.h"

namespace orvane::ui::win32 {

namespace {

constexpr wchar_t kClassName[] = L"OrvaneSearchBox";
constexpr DWORD kStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;

// Lengths at 96 DPI.
constexpr int kFontHeight = 13;
constexpr int kFieldHeight = 22;
constexpr int kRowHeight = 18;
constexpr int kInset = 4;
// Between a caption and its menu's title.
constexpr int kTitleGap = 12;

constexpr UINT kRowText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

// Captions and titles are menu texts, shown as a menu shows them.
std::wstring withoutMnemonic(std::u16string_view menuText) { return wideText(shownMenuText(menuText)); }

int textWidth(HDC dc, const std::wstring& text) {
    RECT measured{};
    DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return measured.right - measured.left;
}

}  // namespace

SearchBox::~SearchBox() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void SearchBox::create(HWND panel) {
    registerWindowClass(kClassName, &objectWindowProcedure<SearchBox, &SearchBox::dispatch>,
                        slategrey::baseBrush());
    // Owned by the panel: no task-bar button, and always above it.
    window_ = CreateWindowExW(0, kClassName, L"", kStyle, 0, 0, 0, 0, panel, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    field_ = CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 0, 0, window_, nullptr,
                             nullptr, nullptr);
    SetWindowSubclass(field_, &SearchBox::fieldProc, 0, reinterpret_cast<DWORD_PTR>(this));
    // Disabled, so that it never takes the focus from the field; it draws its
    // rows all the same.
    list_ = CreateWindowExW(0, WC_LISTBOXW, L"",
                            WS_CHILD | WS_VISIBLE | WS_DISABLED | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                LBS_NOINTEGRALHEIGHT,
                            0, 0, 0, 0, window_, nullptr, nullptr, nullptr);
}

void SearchBox::open(HWND panel, std::vector<SearchItem> items) {
    if (window_ == nullptr) {
        create(panel);
    }
    if (const UINT dpi = windowDpi(panel); dpi != dpi_ || !font_) {
        dpi_ = dpi;
        font_ = tahoma(kFontHeight, dpi_);
        setFont(field_, font_.get());
        setFont(list_, font_.get());
        SendMessageW(list_, LB_SETITEMHEIGHT, 0, scaled(kRowHeight, dpi_));
    }
    if (!logic_.isOpen()) {
        const HWND focus = GetFocus();
        returnFocus_ = focus == panel || IsChild(panel, focus) != FALSE ? focus : panel;
    }
    logic_.open(std::move(items));
    SetWindowTextW(field_, L"");
    placeUnder(panel);
    SetFocus(field_);
}

// The client area's top edge is the menu bar's bottom edge.
void SearchBox::placeUnder(HWND panel) {
    POINT origin{0, 0};
    ClientToScreen(panel, &origin);
    RECT client{};
    GetClientRect(panel, &client);
    const bool topMost = (GetWindowLongPtrW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowPos(window_, topMost ? HWND_TOPMOST : HWND_TOP, origin.x, origin.y, client.right, 0,
                 SWP_SHOWWINDOW);
    resizeToRows();
}

void SearchBox::resizeToRows() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, dpi_);
    const int width = outer.right - outer.left - (frame.right - frame.left);
    const int fieldHeight = scaled(kFieldHeight, dpi_);
    const int listHeight = scaled(kRowHeight, dpi_) * static_cast<int>(titles_.size());
    const int inset = scaled(kInset, dpi_);
    const int fontHeight = scaled(kFontHeight + 3, dpi_);
    MoveWindow(field_, inset, (fieldHeight - fontHeight) / 2, std::max(0, width - 2 * inset), fontHeight, TRUE);
    MoveWindow(list_, 0, fieldHeight, width, listHeight, TRUE);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left,
                 fieldHeight + listHeight + (frame.bottom - frame.top), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SearchBox::showRows(const std::vector<const SearchItem*>& rows, std::optional<std::size_t> current) {
    titles_.clear();
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const SearchItem* row : rows) {
        titles_.push_back(row->menuTitle);
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(withoutMnemonic(row->caption).c_str()));
    }
    SendMessageW(list_, LB_SETCURSEL, current ? static_cast<WPARAM>(*current) : static_cast<WPARAM>(-1), 0);
    resizeToRows();
}

// Escape and Enter give the focus back to where it was; a box that lost
// its activation to another window leaves the focus there.
void SearchBox::closeBox() {
    const HWND back = std::exchange(returnFocus_, nullptr);
    ShowWindow(window_, SW_HIDE);
    if (back != nullptr && IsWindow(back) != FALSE) {
        SetFocus(back);
    }
}

void SearchBox::drawRow(const DRAWITEMSTRUCT& item) const {
    if (item.itemID >= titles_.size()) {
        return;
    }
    const bool current = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, current ? slategrey::highlightBrush() : slategrey::baseBrush());
    const HGDIOBJ oldFont = SelectObject(item.hDC, font_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    RECT text = item.rcItem;
    InflateRect(&text, -scaled(kInset, dpi_), 0);
    const auto length = static_cast<std::size_t>(SendMessageW(list_, LB_GETTEXTLEN, item.itemID, 0));
    std::wstring caption(length + 1, L'\0');
    SendMessageW(list_, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(caption.data()));
    caption.resize(length);
    const std::wstring title = withoutMnemonic(titles_[item.itemID]);
    RECT titleRect = text;
    titleRect.left = std::max(text.left, text.right - textWidth(item.hDC, title));
    SetTextColor(item.hDC, current ? slategrey::kWindowText : slategrey::kDisabledText);
    DrawTextW(item.hDC, title.c_str(), -1, &titleRect, kRowText | DT_RIGHT);
    RECT captionRect = text;
    captionRect.right = titleRect.left - scaled(kTitleGap, dpi_);
    SetTextColor(item.hDC, current ? slategrey::kHighlightedText : slategrey::kText);
    DrawTextW(item.hDC, caption.c_str(), -1, &captionRect, kRowText);
    SelectObject(item.hDC, oldFont);
}

LRESULT SearchBox::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    switch (message) {
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == field_ && HIWORD(wParam) == EN_CHANGE) {
            logic_.textChanged(windowText(field_));
        }
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            returnFocus_ = nullptr;
            logic_.dismiss();
        }
        return 0;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(scaled(kRowHeight, dpi_));
        return TRUE;
    case WM_DRAWITEM:
        drawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(slategrey::controlColour(message, reinterpret_cast<HDC>(wParam)));
    case WM_NCDESTROY:
        // The panel's end destroys the box with it.
        window_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool SearchBox::fieldKey(WPARAM key) {
    switch (key) {
    case VK_UP:
        logic_.up();
        return true;
    case VK_DOWN:
        logic_.down();
        return true;
    case VK_RETURN:
        logic_.enter();
        return true;
    case VK_ESCAPE:
        logic_.dismiss();
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK SearchBox::fieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR box) {
    switch (message) {
    case WM_KEYDOWN:
        if (reinterpret_cast<SearchBox*>(box)->fieldKey(wParam)) {
            return 0;
        }
        break;
    case WM_CHAR:
        // Their key went to the logic; the field would only beep.
        if (wParam == u'\r' || wParam == 0x1B) {
            return 0;
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

}  // namespace orvane::ui::win32
