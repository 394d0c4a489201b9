#pragma once

#include <windows.h>

namespace orvane::ui::win32 {

// Registers a window class of this program with the arrow cursor; a class
// registered before stays as it was.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, HICON icon = nullptr,
                         HICON smallIcon = nullptr);

}  // namespace orvane::ui::win32
