#include "ui/win32/widetext.h"

#include <vector>

namespace orvane::ui::win32 {

std::u16string windowText(HWND window) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    const int copied = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::u16string(buffer.begin(), buffer.begin() + copied);
}

}  // namespace orvane::ui::win32
