#include "ui/win32/slategrey.h"

namespace orvane::ui::win32::slategrey {

HBRUSH windowBrush() {
    static const HBRUSH brush = CreateSolidBrush(kWindow);
    return brush;
}

HBRUSH baseBrush() {
    static const HBRUSH brush = CreateSolidBrush(kBase);
    return brush;
}

HBRUSH highlightBrush() {
    static const HBRUSH brush = CreateSolidBrush(kHighlight);
    return brush;
}

HBRUSH menuBarBrush() {
    static const HBRUSH brush = CreateSolidBrush(kMenuBar);
    return brush;
}

HBRUSH controlColour(UINT message, HDC dc) {
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        SetTextColor(dc, kText);
        SetBkColor(dc, kBase);
        return baseBrush();
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetTextColor(dc, kWindowText);
        SetBkColor(dc, kWindow);
        return windowBrush();
    default:
        return nullptr;
    }
}

}  // namespace orvane::ui::win32::slategrey
