#include "cadlink/com/comobject.h"

#include <gtest/gtest.h>

#include <memory>

#include "cadlink/com/comapartment.h"
#include "cadlink/tests/com/testdispatch.h"

namespace orvane::cadlink::com {
namespace {

using testing::TestDispatch;
using namespace std::string_literals;

class ComObjectCall : public ::testing::Test {
protected:
    ComApartment apartment_;
    TestDispatch target_;
    ComAutomationObject object_{ComRef<IDispatch>::share(&target_)};
};

TEST_F(ComObjectCall, NamesResolveInTheUsersLocale) {
    EXPECT_EQ(object_.GetIDsOfNames(u"Raise"), TestDispatch::Raise);
    EXPECT_EQ(target_.lastNameLocale(), static_cast<LCID>(LOCALE_USER_DEFAULT));
}

TEST_F(ComObjectCall, AnUnknownNameFailsWithItsStatus) {
    try {
        object_.GetIDsOfNames(u"SendCommand");
        ADD_FAILURE() << "resolved";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.code(), status::UnknownName);
        EXPECT_STRNE(error.what(), "");
    }
}

TEST_F(ComObjectCall, ANameWithANulIsUnknown) {
    try {
        object_.GetIDsOfNames(u"Echo\0X"s);
        ADD_FAILURE() << "resolved";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.code(), status::UnknownName);
    }
}

TEST_F(ComObjectCall, AReadAsksForMethodOrPropertyWithAResult) {
    target_.value().vt = VT_I4;
    target_.value().lVal = 0x1234;
    EXPECT_EQ(object_.Invoke(TestDispatch::Value, CallKind::MethodOrPropertyGet, std::nullopt, true),
              Variant{std::int64_t{0x1234}});
    EXPECT_EQ(target_.lastCall().flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    EXPECT_EQ(target_.lastCall().argumentCount, 0U);
    EXPECT_TRUE(target_.lastCall().resultRequested);
}

TEST_F(ComObjectCall, ACommandIsOneTextByValueWithoutAResult) {
    const std::u16string command = u"(load \"a\0b\")\r\n線分\r"s;
    EXPECT_EQ(object_.Invoke(TestDispatch::Echo, CallKind::Method, command, false), Variant{});
    EXPECT_EQ(target_.lastCall().flags, DISPATCH_METHOD);
    EXPECT_EQ(target_.lastCall().argumentCount, 1U);
    EXPECT_EQ(target_.lastCall().argumentType, VT_BSTR);
    EXPECT_EQ(target_.lastCall().argument, command);
    EXPECT_FALSE(target_.lastCall().resultRequested);
}

TEST_F(ComObjectCall, AnErrorOfTheObjectKeepsItsDescription) {
    try {
        object_.Invoke(TestDispatch::Raise, CallKind::Method, std::nullopt, false);
        ADD_FAILURE() << "succeeded";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.code(), status::Exception);
        EXPECT_STREQ(error.what(), "the drawing is locked");
    }
}

TEST_F(ComObjectCall, AFailingStatusIsAFailure) {
    try {
        object_.Invoke(99, CallKind::MethodOrPropertyGet, std::nullopt, true);
        ADD_FAILURE() << "succeeded";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.code(), static_cast<std::int32_t>(DISP_E_MEMBERNOTFOUND));
    }
}

TEST(ComObjectReference, IsReleasedWithTheObject) {
    const ComApartment apartment;
    TestDispatch target;
    auto object = std::make_unique<ComAutomationObject>(ComRef<IDispatch>::share(&target));
    EXPECT_EQ(target.references(), 2U);
    object.reset();
    EXPECT_EQ(target.references(), 1U);
}

}  // namespace
}  // namespace orvane::cadlink::com
