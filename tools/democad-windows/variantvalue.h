#pragma once

#include <oaidl.h>
#include <windows.h>

#include <string_view>

#include "tools/democad-windows/typedvalue.h"

namespace democad {

// A new BSTR holding the text.
BSTR bstrOf(std::u16string_view text);

// What a by-reference answer points at: it lives as long as the member does.
class ByrefStorage {
public:
    ByrefStorage();
    ~ByrefStorage();
    ByrefStorage(const ByrefStorage&) = delete;
    ByrefStorage& operator=(const ByrefStorage&) = delete;

    LONG i4 = 0;
    BSTR bstr = nullptr;
    VARIANT variant;
};

// The VARIANT of exactly the value's type into answer, which is empty. The
// dispatch and unknown kinds answer self.
HRESULT makeVariant(const TypedValue& value, IDispatch* self, ByrefStorage& storage, VARIANT& answer);

}  // namespace democad
