// The automation members of the demo CAD, called raw through IDispatch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/windows/comtest.h"
#include "tests/windows/democadprocess.h"

namespace orvane::wintest {
namespace {

// A VARIANT cleared at the end of the test.
struct Value {
    VARIANT v;
    Value() { VariantInit(&v); }
    ~Value() { VariantClear(&v); }
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;
};

VARIANT text(const wchar_t* value) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(value);
    return v;
}

class DemoCadMembers : public ComTest {
protected:
    void start(std::vector<std::u16string> options = {}) {
        demo_ = std::make_unique<DemoCadProcess>(uniqueProgId(u"Members"), std::move(options));
        ASSERT_TRUE(demo_->waitReady());
        ASSERT_EQ(attach(demo_->progId(), application_), S_OK);
    }
    // The object a member of the application answers.
    void objectOf(const std::u16string& member, DispatchRef& into) {
        Value answer;
        ASSERT_EQ(invoke(application_.object, member, {}, answer.v), S_OK);
        ASSERT_EQ(answer.v.vt, VT_DISPATCH);
        into.object = answer.v.pdispVal;
        into.object->AddRef();
    }

    std::unique_ptr<DemoCadProcess> demo_;
    DispatchRef application_;
};

TEST_F(DemoCadMembers, HwndAnswersTheWindowAsI4) {
    start();
    Value answer;
    ASSERT_EQ(invoke(application_.object, u"hwnd", {}, answer.v), S_OK);
    ASSERT_EQ(answer.v.vt, VT_I4);
    EXPECT_EQ(answer.v.lVal, demo_->windowValue());
    EXPECT_TRUE(demo_->waitForLine(u"CALL HWND"));
}

TEST_F(DemoCadMembers, HwndZeroAnswersZero) {
    start({u"--hwnd-zero"});
    Value answer;
    ASSERT_EQ(invoke(application_.object, u"HWND", {}, answer.v), S_OK);
    EXPECT_EQ(answer.v.lVal, 0);
}

TEST_F(DemoCadMembers, SendCommandLogsTheTextWithEscapes) {
    start();
    DispatchRef document;
    objectOf(u"ActiveDocument", document);
    Value answer;
    EXPECT_EQ(invoke(document.object, u"SendCommand", {text(L"_LINE \x7DDA\x5206\\\r")}, answer.v), S_OK);
    EXPECT_TRUE(demo_->waitForLine(u"COMMAND _LINE \u7DDA\u5206\\\\\\r"));
    EXPECT_EQ(demo_->countLines(u"CALL SendCommand"), 1u);
}

TEST_F(DemoCadMembers, SendCommandTakesOneTextArgument) {
    start();
    DispatchRef document;
    objectOf(u"ActiveDocument", document);
    Value answer;
    EXPECT_EQ(invoke(document.object, u"SendCommand", {}, answer.v), DISP_E_BADPARAMCOUNT);
    VARIANT nothing;
    nothing.vt = VT_NULL;
    EXPECT_EQ(invoke(document.object, u"SendCommand", {nothing}, answer.v), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(demo_->countLines(u"COMMAND "), 0u);
}

TEST_F(DemoCadMembers, ValueMembersTakeNoArguments) {
    start();
    Value answer;
    EXPECT_EQ(invoke(application_.object, u"HWND", {text(L"x")}, answer.v), DISP_E_BADPARAMCOUNT);
}

TEST_F(DemoCadMembers, EveryStateMemberReportsQuiescence) {
    start();
    for (const std::u16string member : {u"GetAcadState", u"GetGcadState", u"GetZcadState"}) {
        DispatchRef state;
        objectOf(member, state);
        Value quiescent;
        ASSERT_EQ(invoke(state.object, u"IsQuiescent", {}, quiescent.v), S_OK);
        ASSERT_EQ(quiescent.v.vt, VT_BOOL);
        EXPECT_EQ(quiescent.v.boolVal, VARIANT_TRUE);
    }
}

TEST_F(DemoCadMembers, LackingMemberIsAnUnknownName) {
    start({u"--lack", u"GetZcadState", u"--lack", u"SendCommand"});
    DISPID id = 0;
    EXPECT_EQ(dispatchId(application_.object, u"GetZcadState", id), DISP_E_UNKNOWNNAME);
    DispatchRef document;
    objectOf(u"ActiveDocument", document);
    EXPECT_EQ(dispatchId(document.object, u"SendCommand", id), DISP_E_UNKNOWNNAME);
}

TEST_F(DemoCadMembers, FailRaisesTheCadsOwnError) {
    start({u"--fail", u"SendCommand=0x80004005:No drawing is open"});
    DispatchRef document;
    objectOf(u"ActiveDocument", document);
    Value answer;
    EXCEPINFO exception{};
    EXPECT_EQ(invoke(document.object, u"SendCommand", {text(L"_LINE\r")}, answer.v, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, static_cast<SCODE>(0x80004005));
    ASSERT_NE(exception.bstrDescription, nullptr);
    EXPECT_EQ(std::wstring(exception.bstrDescription), L"No drawing is open");
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
}

TEST_F(DemoCadMembers, PropertyAnswersAVariantOfExactlyItsType) {
    const std::vector<std::pair<std::u16string, VARTYPE>> types = {
        {u"empty", VT_EMPTY}, {u"null", VT_NULL}, {u"bool:true", VT_BOOL}, {u"i1:-5", VT_I1},
        {u"i2:-5", VT_I2}, {u"i4:-5", VT_I4}, {u"i8:-5", VT_I8}, {u"int:-5", VT_INT},
        {u"ui1:5", VT_UI1}, {u"ui2:5", VT_UI2}, {u"ui4:5", VT_UI4}, {u"ui8:5", VT_UI8},
        {u"uint:5", VT_UINT}, {u"r4:1.5", VT_R4}, {u"r8:1.5", VT_R8}, {u"date:45000.5", VT_DATE},
        {u"cy:1.5", VT_CY}, {u"decimal:1.5", VT_DECIMAL}, {u"bstr:x", VT_BSTR}, {u"error:0x80020004", VT_ERROR},
        {u"dispatch", VT_DISPATCH}, {u"unknown", VT_UNKNOWN}, {u"nulldispatch", VT_DISPATCH},
        {u"byref-i4:5", VT_BYREF | VT_I4}, {u"byref-bstr:x", VT_BYREF | VT_BSTR},
        {u"byref-variant-i4:5", VT_BYREF | VT_VARIANT}, {u"array-i4:1,2", VT_ARRAY | VT_I4},
    };
    std::vector<std::u16string> options;
    for (std::size_t i = 0; i < types.size(); ++i) {
        options.insert(options.end(), {u"--property", u"Value" + std::u16string(1, u'A' + i) + u"=" + types[i].first});
    }
    start(options);
    for (std::size_t i = 0; i < types.size(); ++i) {
        Value answer;
        ASSERT_EQ(invoke(application_.object, u"Value" + std::u16string(1, u'A' + i), {}, answer.v), S_OK);
        EXPECT_EQ(answer.v.vt, types[i].second) << "for " << std::string(types[i].first.begin(), types[i].first.end());
    }
}

TEST_F(DemoCadMembers, PropertyReplacesTheDemosOwnMember) {
    start({u"--property", u"HWND=i8:-4294967296"});
    Value answer;
    ASSERT_EQ(invoke(application_.object, u"HWND", {}, answer.v), S_OK);
    ASSERT_EQ(answer.v.vt, VT_I8);
    EXPECT_EQ(answer.v.llVal, -4294967296LL);
}

TEST_F(DemoCadMembers, EscapeKeyIsLoggedOncePerPress) {
    start();
    PostMessageW(demo_->window(), WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(demo_->window(), WM_KEYDOWN, VK_ESCAPE, 1 | (1 << 30));
    PostMessageW(demo_->window(), WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(demo_->waitForLine(u"ESCAPE"));
    // A call queued behind the keys: once it is logged, every key was seen.
    Value answer;
    ASSERT_EQ(invoke(application_.object, u"HWND", {}, answer.v), S_OK);
    ASSERT_TRUE(demo_->waitForLine(u"CALL HWND"));
    EXPECT_EQ(demo_->countLines(u"ESCAPE"), 2u);
}

}  // namespace
}  // namespace orvane::wintest
