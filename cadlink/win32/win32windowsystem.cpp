#include "cadlink/win32/win32windowsystem.h"

#include <windows.h>
#include <imm.h>

#include "cadlink/win32/windowhandle.h"

namespace orvane::cadlink::win32 {
namespace {

// The IME window's commands (immdev.h, which mingw-w64 lacks).
constexpr WPARAM ImcGetOpenStatus = 0x0005;
constexpr WPARAM ImcSetOpenStatus = 0x0006;

// The message's answer, or 0 when the window is gone or did not answer in time.
LRESULT sendImeControl(WindowHandle imeWindow, WPARAM command, LPARAM value) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(toHwnd(imeWindow), WM_IME_CONTROL, command, value, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            Win32WindowSystem::ImeMessageTimeoutMs, &answer) == 0) {
        return 0;
    }
    return static_cast<LRESULT>(answer);
}

}  // namespace

bool Win32WindowSystem::IsIconic(WindowHandle window) { return ::IsIconic(toHwnd(window)) != 0; }

bool Win32WindowSystem::OpenIcon(WindowHandle window) { return ::OpenIcon(toHwnd(window)) != 0; }

bool Win32WindowSystem::SetForegroundWindow(WindowHandle window) {
    return ::SetForegroundWindow(toHwnd(window)) != 0;
}

WindowHandle Win32WindowSystem::GetForegroundWindow() { return fromHwnd(::GetForegroundWindow()); }

void Win32WindowSystem::keybd_event(std::uint8_t virtualKey, bool keyUp) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = keyUp ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void Win32WindowSystem::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

bool Win32WindowSystem::IsWindow(WindowHandle window) { return ::IsWindow(toHwnd(window)) != 0; }

WindowHandle Win32WindowSystem::ImmGetDefaultIMEWnd(WindowHandle window) {
    // For no window the system answers with the panel's own IME window.
    if (!IsWindow(window)) return 0;
    return fromHwnd(::ImmGetDefaultIMEWnd(toHwnd(window)));
}

std::intptr_t Win32WindowSystem::imeGetOpenStatus(WindowHandle imeWindow) {
    return sendImeControl(imeWindow, ImcGetOpenStatus, 0);
}

void Win32WindowSystem::imeSetOpenStatus(WindowHandle imeWindow, bool open) {
    sendImeControl(imeWindow, ImcSetOpenStatus, open ? 1 : 0);
}

}  // namespace orvane::cadlink::win32
