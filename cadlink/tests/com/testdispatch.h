#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

// An automation object in the test process, written by hand: no type
// library, three members, and a record of the last call.
//   Echo  (1): gives back its one text argument, or the empty value.
//   Raise (2): fails with DISP_E_EXCEPTION, its description filled in late.
//   Value (3): gives a copy of value().
namespace orvane::cadlink::com::testing {

class TestDispatch final : public IDispatch {
public:
    static constexpr DISPID Echo = 1;
    static constexpr DISPID Raise = 2;
    static constexpr DISPID Value = 3;
    static constexpr const wchar_t* RaisedDescription = L"the drawing is locked";

    // offersDispatch false: QueryInterface answers IUnknown only.
    explicit TestDispatch(bool offersDispatch = true);
    ~TestDispatch();
    TestDispatch(const TestDispatch&) = delete;
    TestDispatch& operator=(const TestDispatch&) = delete;

    ULONG references() const { return count_; }
    VARIANT& value() { return value_; }

    struct Call {
        WORD flags = 0;
        UINT argumentCount = 0;
        VARTYPE argumentType = VT_EMPTY;
        std::u16string argument;
        bool resultRequested = false;
    };
    const Call& lastCall() const { return lastCall_; }
    LCID lastNameLocale() const { return lastNameLocale_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    bool offersDispatch_;
    ULONG count_ = 1;
    VARIANT value_;
    Call lastCall_;
    LCID lastNameLocale_ = 0;
};

}  // namespace orvane::cadlink::com::testing
