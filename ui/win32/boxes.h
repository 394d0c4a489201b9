#pragma once

#include <windows.h>

#include <string_view>

namespace orvane::ui::win32 {

// Every message box the program shows goes through here, so tests can
// capture them without running modal loops.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // The default error box: error icon, one OK button.
    virtual void showError(HWND owner, std::u16string_view caption, std::u16string_view text) = 0;
    // Information icon, one OK button.
    virtual void showInformation(HWND owner, std::u16string_view caption, std::u16string_view text) = 0;
};

// Real modal boxes; each runs its own message loop, in which timers go on ticking.
class Win32MessageBoxes final : public MessageBoxes {
public:
    void showError(HWND owner, std::u16string_view caption, std::u16string_view text) override;
    void showInformation(HWND owner, std::u16string_view caption, std::u16string_view text) override;
};

}  // namespace orvane::ui::win32
