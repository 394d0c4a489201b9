#pragma once

#include <windows.h>
#include <oaidl.h>

#include "cadlink/automation.h"

namespace orvane::cadlink::com {

// A VARIANT the holder owns and clears.
class VariantHolder {
public:
    VariantHolder() { VariantInit(&value_); }
    ~VariantHolder() { VariantClear(&value_); }
    VariantHolder(const VariantHolder&) = delete;
    VariantHolder& operator=(const VariantHolder&) = delete;

    VARIANT& get() { return value_; }

private:
    VARIANT value_;
};

// A member's value as the panel takes it. Numbers keep their kind: signed,
// unsigned or floating point (a date is its day number); currency and
// decimal values become their exact decimal text, so that the conversions
// round them like any number; null and an error code become NullValue;
// objects are automation objects, and one without IDispatch a null object.
// A value by reference is read through. Arrays, records and any other type
// throw AutomationError(TypeMismatch).
Variant variantFromCom(const VARIANT& value);

}  // namespace orvane::cadlink::com
