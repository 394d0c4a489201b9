#pragma once

#include <windows.h>

#include <cstdint>

#include "cadlink/windowsystem.h"

namespace orvane::cadlink::win32 {

// Window handles carry 32 significant bits and are sign-extended to pointer
// width, so the CAD's 32-bit value names the same window in a 64-bit panel.
inline HWND toHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(window)));
}

inline WindowHandle fromHwnd(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window) & 0xFFFFFFFFU);
}

}  // namespace orvane::cadlink::win32
