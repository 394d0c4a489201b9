#pragma once

#include <windows.h>

namespace orvane::platform {

// Byte-range locks on Windows are mandatory: a locked range cannot be read
// through another handle. So the settings lock sits on one byte far past any
// content the file will ever have, and reads and writes are left alone.
inline OVERLAPPED lockRange() {
    OVERLAPPED at{};
    at.OffsetHigh = 0x7FFFFFFF;
    return at;
}
inline constexpr DWORD kLockRangeBytes = 1;

}  // namespace orvane::platform
