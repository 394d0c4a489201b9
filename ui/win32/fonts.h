#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace orvane::ui::win32 {

struct FontDeleter {
    void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// Tahoma with characters this many pixels high at 96 DPI, at this DPI. Where
// Tahoma is missing the font mapper picks the nearest sans-serif face.
FontHandle tahoma(int pixelHeightAt96, UINT dpi);

// Gives the window this font without redrawing it.
void setFont(HWND window, HFONT font);

}  // namespace orvane::ui::win32
