#include "cadlink/com/comruntime.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <iterator>
#include <string>

#include "cadlink/com/comapartment.h"
#include "cadlink/tests/com/testdispatch.h"

namespace orvane::cadlink::com {
namespace {

using testing::TestDispatch;
using namespace std::string_literals;

// {6F1B3C2A-8D44-4E0B-9A51-3C7E2D90B1A4}, a class of these tests only.
constexpr CLSID TestClass = {0x6f1b3c2a, 0x8d44, 0x4e0b, {0x9a, 0x51, 0x3c, 0x7e, 0x2d, 0x90, 0xb1, 0xa4}};
constexpr wchar_t TestClassText[] = L"{6F1B3C2A-8D44-4E0B-9A51-3C7E2D90B1A4}";
const ClassId TestClassId{std::string(std::begin(TestClassText), std::end(TestClassText) - 1)};
constexpr const wchar_t* TestProgIdKey = L"Software\\Classes\\Orvane.CadlinkTest";
constexpr const wchar_t* TestProgIdClassKey = L"Software\\Classes\\Orvane.CadlinkTest\\CLSID";

template <typename Call>
std::int32_t failureOf(Call call) {
    try {
        call();
    } catch (const AutomationError& error) {
        return error.code();
    }
    return 0;
}

// The test ProgID, registered for the user and, where allowed, for the
// machine (where Wine looks), and removed again.
class RegisteredProgId {
public:
    RegisteredProgId() {
        for (HKEY root : roots) {
            RegSetKeyValueW(root, TestProgIdClassKey, nullptr, REG_SZ, TestClassText, sizeof TestClassText);
        }
    }
    ~RegisteredProgId() {
        for (HKEY root : roots) RegDeleteTreeW(root, TestProgIdKey);
    }
    RegisteredProgId(const RegisteredProgId&) = delete;
    RegisteredProgId& operator=(const RegisteredProgId&) = delete;

private:
    const HKEY roots[2] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
};

// An object in this process's running object table while the holder lives.
class RunningObject {
public:
    RunningObject(IUnknown* object, const CLSID& classId) {
        EXPECT_EQ(RegisterActiveObject(object, classId, ACTIVEOBJECT_STRONG, &cookie_), S_OK);
    }
    ~RunningObject() { RevokeActiveObject(cookie_, nullptr); }
    RunningObject(const RunningObject&) = delete;
    RunningObject& operator=(const RunningObject&) = delete;

private:
    DWORD cookie_ = 0;
};

class ComRuntime : public ::testing::Test {
protected:
    ComApartment apartment_;
    ComAutomationRuntime runtime_;
};

TEST_F(ComRuntime, ARegisteredProgIdGivesItsClassInRegistryForm) {
    const RegisteredProgId registered;
    EXPECT_EQ(runtime_.CLSIDFromProgID(u"Orvane.CadlinkTest").value, TestClassId.value);
}

TEST_F(ComRuntime, AProgIdWithANulIsNotRegistered) {
    const RegisteredProgId registered;
    EXPECT_EQ(failureOf([&] { runtime_.CLSIDFromProgID(u"Orvane.CadlinkTest\0X"s); }), status::ClassNotRegistered);
}

TEST_F(ComRuntime, TheRunningObjectIsCalledThroughDispatch) {
    TestDispatch target;
    target.value().vt = VT_I4;
    target.value().lVal = 77;
    {
        const RunningObject running(&target, TestClass);
        const ObjectRef object = runtime_.GetActiveObject(TestClassId);
        const DispId id = object->GetIDsOfNames(u"Value");
        EXPECT_EQ(object->Invoke(id, CallKind::MethodOrPropertyGet, std::nullopt, true), Variant{std::int64_t{77}});
    }
    EXPECT_EQ(target.references(), 1U);
}

TEST_F(ComRuntime, ARunningObjectWithoutDispatchFailsWithNoInterface) {
    TestDispatch target(false);
    const RunningObject running(&target, TestClass);
    EXPECT_EQ(failureOf([&] { runtime_.GetActiveObject(TestClassId); }), status::NoInterface);
}

TEST_F(ComRuntime, AClassIdThatIsNoClassIsNotRegistered) {
    EXPECT_EQ(failureOf([&] { runtime_.GetActiveObject(ClassId{"not a class"}); }), status::ClassNotRegistered);
}

}  // namespace
}  // namespace orvane::cadlink::com
