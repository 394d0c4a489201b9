#pragma once

#include <string>
#include <string_view>

#include "core/platform/win32/handle.h"

namespace democad {

// One UTF-8 line per event, written through at once and shared for reading
// and writing, so a test can read along. Without a path nothing is written.
class EventLog {
public:
    // Throws UsageError when the file cannot be opened.
    explicit EventLog(const std::u16string& path);
    void write(std::u16string_view line);

private:
    orvane::platform::Handle file_;
};

// The system's text for a Win32 error or status code, in UTF-8, with the
// code itself.
std::string systemMessage(DWORD code);

}  // namespace democad
