#pragma once

#include <windows.h>

#include <string>

namespace orvane::cadlink::com {

// The system's text for a status code; one that names the code in hex where
// the system has none.
std::string comErrorText(HRESULT status);

// Throws AutomationError with the status and the system's text for it.
[[noreturn]] void throwComError(HRESULT status);

}  // namespace orvane::cadlink::com
