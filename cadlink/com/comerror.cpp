#include "cadlink/com/comerror.h"

#include "cadlink/automation.h"
#include "core/platform/win32/handle.h"
#include "core/utf.h"

namespace orvane::cadlink::com {

std::string comErrorText(HRESULT status) {
    return toUtf8(platform::errorText(static_cast<DWORD>(status)));
}

void throwComError(HRESULT status) {
    throw AutomationError(static_cast<std::int32_t>(status), comErrorText(status));
}

}  // namespace orvane::cadlink::com
