#pragma once

#include <windows.h>

namespace orvane::ui::win32 {

inline constexpr UINT kBaseDpi = 96;

// The DPI of the monitor the window is on, as the window sees it.
UINT windowDpi(HWND window);

// A length given at 96 DPI, at this DPI.
int scaled(int at96, UINT dpi);

}  // namespace orvane::ui::win32
