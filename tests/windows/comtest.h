#pragma once

#include <ole2.h>
#include <oleauto.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace orvane::wintest {

// Each test in a single-threaded apartment of its own, as the panel's thread is.
class ComTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }
};

// An owned IDispatch, released at the end of the test.
struct DispatchRef {
    IDispatch* object = nullptr;
    DispatchRef() = default;
    DispatchRef(const DispatchRef&) = delete;
    DispatchRef& operator=(const DispatchRef&) = delete;
    ~DispatchRef() {
        if (object != nullptr) object->Release();
    }
};

// The running object of the ProgID as an IDispatch, or the failing status.
HRESULT attach(const std::u16string& progId, DispatchRef& into);
// The DISPID of the name, or the failing status of GetIDsOfNames.
HRESULT dispatchId(IDispatch* object, const std::u16string& name, DISPID& id);
// Invokes the member as method and property get, with the arguments in order.
HRESULT invoke(IDispatch* object, const std::u16string& name, std::vector<VARIANT> arguments, VARIANT& result,
               EXCEPINFO* exception = nullptr);

}  // namespace orvane::wintest
