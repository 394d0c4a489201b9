#include "ui/win32/windowclass.h"

namespace orvane::ui::win32 {

void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, HICON icon, HICON smallIcon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpszClassName = name;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpfnWndProc = procedure;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    RegisterClassExW(&windowClass);
}

}  // namespace orvane::ui::win32
