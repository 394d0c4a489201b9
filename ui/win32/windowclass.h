#pragma once

#include <windows.h>

namespace orvane::ui::win32 {

// Registers a window class of this program with the arrow cursor; a class
// registered before stays as it was.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, HICON icon = nullptr,
                         HICON smallIcon = nullptr);

// The window procedure of windows that keep their object in GWLP_USERDATA:
// messages go to its member, those before it is kept or after to the default.
template <typename Window, LRESULT (Window::*handle)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK objectWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return (object->*handle)(message, wParam, lParam);
}

}  // namespace orvane::ui::win32
