#include "ui/win32/fonts.h"

#include "ui/win32/dpi.h"

namespace orvane::ui::win32 {

FontHandle tahoma(int pixelHeightAt96, UINT dpi) {
    // A negative height is the character height, without the internal leading.
    return FontHandle(CreateFontW(-scaled(pixelHeightAt96, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                  VARIABLE_PITCH | FF_SWISS, L"Tahoma"));
}

void setFont(HWND window, HFONT font) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

}  // namespace orvane::ui::win32
