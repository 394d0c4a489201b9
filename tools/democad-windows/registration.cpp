#include "tools/democad-windows/registration.h"

#include <stdexcept>

#include "core/utf.h"
#include "tools/democad-windows/eventlog.h"

namespace democad {

namespace {

LSTATUS writeDefaultValue(HKEY root, const std::wstring& key, const std::wstring& value) {
    HKEY opened = nullptr;
    LSTATUS status = RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                     &opened, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
    return status;
}

}  // namespace

GUID toGuid(const ClassId& id) {
    GUID guid{id.data1, id.data2, id.data3, {}};
    for (std::size_t i = 0; i < id.data4.size(); ++i) guid.Data4[i] = id.data4[i];
    return guid;
}

void registerProgId(const std::u16string& progId, const ClassId& id) {
    const std::wstring key = L"Software\\Classes\\" + std::wstring(progId.begin(), progId.end()) + L"\\CLSID";
    const std::u16string text = classIdText(id);
    const std::wstring value(text.begin(), text.end());
    const LSTATUS machine = writeDefaultValue(HKEY_LOCAL_MACHINE, key, value);
    const LSTATUS user = writeDefaultValue(HKEY_CURRENT_USER, key, value);
    if (machine != ERROR_SUCCESS && user != ERROR_SUCCESS) {
        throw std::runtime_error("cannot register the ProgID " + orvane::toUtf8(progId) + ": " +
                                 systemMessage(static_cast<DWORD>(user)));
    }
}

}  // namespace democad
