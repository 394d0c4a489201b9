#include "ui/win32/applicationicon.h"

namespace orvane::ui::win32 {

HICON applicationIcon(HINSTANCE instance, int size) {
    auto* icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(ORVANE_APPLICATION_ICON), IMAGE_ICON, size, size, LR_SHARED));
    return icon != nullptr ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace orvane::ui::win32
