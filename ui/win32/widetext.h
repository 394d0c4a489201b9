#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace orvane::ui::win32 {

// wchar_t is UTF-16 on Windows: the units carry over one by one, and the
// copy gives the terminating NUL that the Win32 calls need.
inline std::wstring wideText(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// A window's whole text.
std::u16string windowText(HWND window);

}  // namespace orvane::ui::win32
