#include "ui/win32/boxes.h"

#include "ui/win32/widetext.h"

namespace orvane::ui::win32 {

namespace {

void showBox(HWND owner, std::u16string_view caption, std::u16string_view text, UINT icon) {
    MessageBoxW(owner, wideText(text).c_str(), wideText(caption).c_str(), icon | MB_OK);
}

}  // namespace

void Win32MessageBoxes::showError(HWND owner, std::u16string_view caption, std::u16string_view text) {
    showBox(owner, caption, text, MB_ICONERROR);
}

void Win32MessageBoxes::showInformation(HWND owner, std::u16string_view caption, std::u16string_view text) {
    showBox(owner, caption, text, MB_ICONINFORMATION);
}

}  // namespace orvane::ui::win32
