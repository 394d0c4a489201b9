#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// What the Win32 file code shares: an owned handle, paths and file identity.
namespace orvane::platform {

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    // Closes now so that a failing close is seen; returns false on failure.
    bool close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }
    // Gives the handle up to the caller.
    HANDLE release() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE handle_;
};

// The path as the system takes it: made whole and given the "\\?\" form, so
// that a program folder past the old 260-character limit still works. A NUL
// would cut it short and name another file, so such a path names none.
std::optional<std::wstring> toSystemPath(std::u16string_view path);

inline bool sameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// The system's text for a Win32 error code, in UTF-16.
std::u16string errorText(DWORD error);

}  // namespace orvane::platform
