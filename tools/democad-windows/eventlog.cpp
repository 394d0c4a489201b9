#include "tools/democad-windows/eventlog.h"

#include <cstdio>

#include "core/utf.h"
#include "tools/democad-windows/usageerror.h"

namespace democad {

std::string systemMessage(DWORD code) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(code));
    const std::string text = orvane::toUtf8(orvane::platform::errorText(code));
    return text.empty() ? std::string(number) : text + " (" + number + ")";
}

EventLog::EventLog(const std::u16string& path)
    : file_(path.empty() ? INVALID_HANDLE_VALUE
                         : CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), FILE_APPEND_DATA,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!path.empty() && !file_.valid()) {
        throw UsageError("cannot open the log " + orvane::toUtf8(path) + ": " + systemMessage(GetLastError()));
    }
}

void EventLog::write(std::u16string_view line) {
    if (!file_.valid()) return;
    const std::string bytes = orvane::toUtf8(line) + '\n';
    DWORD written = 0;
    // Unbuffered: a reader sees each line as soon as the call returns.
    WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace democad
