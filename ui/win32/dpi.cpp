#include "ui/win32/dpi.h"

namespace orvane::ui::win32 {

UINT windowDpi(HWND window) {
    const UINT dpi = GetDpiForWindow(window);
    return dpi == 0 ? kBaseDpi : dpi;
}

int scaled(int at96, UINT dpi) { return MulDiv(at96, static_cast<int>(dpi), static_cast<int>(kBaseDpi)); }

}  // namespace orvane::ui::win32
