#include "cadlink/com/comfilter.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <memory>

#include "cadlink/com/comapartment.h"
#include "cadlink/com/comref.h"

namespace orvane::cadlink::com {
namespace {

// Our side: a filter with answers of its own.
class Answers final : public MessageFilterInterface {
public:
    std::uint32_t HandleInComingCall(std::uint32_t, std::uintptr_t, std::uint32_t) override { return 0; }
    std::int32_t RetryRejectedCall(std::uintptr_t, std::uint32_t, std::uint32_t dwRejectType) override {
        return dwRejectType == 2 ? 1000 : -1;
    }
    std::uint32_t MessagePending(std::uintptr_t, std::uint32_t, std::uint32_t) override { return 1; }
};

// A filter another part of the process installed as a COM object.
class ForeignComFilter final : public IMessageFilter {
public:
    ULONG references() const { return count_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid != IID_IUnknown && iid != IID_IMessageFilter) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        *object = this;
        return S_OK;
    }
    // The test owns the object: the count only tells whether references balance.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
    ULONG STDMETHODCALLTYPE Release() override { return --count_; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override { return 1; }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return 250; }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return 2; }

private:
    ULONG count_ = 1;
};

// Takes whatever COM holds out of the thread's filter slot.
ComRef<IMessageFilter> takeInstalled() {
    ComRef<IMessageFilter> installed;
    CoRegisterMessageFilter(nullptr, installed.put());
    return installed;
}

class ComMessageFilter : public ::testing::Test {
protected:
    ComApartment apartment_;
    std::shared_ptr<Answers> ours_ = std::make_shared<Answers>();
};

TEST_F(ComMessageFilter, OursAnswersCallsOfCom) {
    EXPECT_EQ(exchangeMessageFilter(ours_), nullptr);
    const ComRef<IMessageFilter> installed = takeInstalled();
    ASSERT_TRUE(installed);
    EXPECT_EQ(installed->RetryRejectedCall(nullptr, 0, 2), 1000U);
    EXPECT_EQ(installed->RetryRejectedCall(nullptr, 0, 1), static_cast<DWORD>(-1));
    EXPECT_EQ(installed->MessagePending(nullptr, 0, 1), 1U);
}

TEST_F(ComMessageFilter, OursComesBackAsItselfAndIsReleasedOnRevoke) {
    exchangeMessageFilter(ours_);
    EXPECT_EQ(ours_.use_count(), 2) << "held by the installed COM object";
    MessageFilterRef replaced = exchangeMessageFilter(nullptr);
    EXPECT_EQ(replaced, ours_);
    replaced.reset();
    EXPECT_EQ(ours_.use_count(), 1);
    EXPECT_FALSE(takeInstalled());
}

TEST_F(ComMessageFilter, AForeignFilterIsPutBackAsTheSameObject) {
    ForeignComFilter foreign;
    CoRegisterMessageFilter(&foreign, nullptr);
    MessageFilterRef previous = exchangeMessageFilter(ours_);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(exchangeMessageFilter(previous), ours_);
    const ComRef<IMessageFilter> installed = takeInstalled();
    EXPECT_EQ(installed.get(), &foreign);
    previous.reset();
    EXPECT_EQ(foreign.references(), 2U) << "the test's and the one just taken from COM";
    EXPECT_EQ(ours_.use_count(), 1);
}

TEST_F(ComMessageFilter, AForeignFilterAnswersThroughItsWrapper) {
    ForeignComFilter foreign;
    CoRegisterMessageFilter(&foreign, nullptr);
    const MessageFilterRef previous = exchangeMessageFilter(nullptr);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->RetryRejectedCall(0, 0, 2), 250);
    EXPECT_EQ(previous->HandleInComingCall(0, 0, 0), 1U);
    EXPECT_EQ(previous->MessagePending(0, 0, 0), 2U);
}

TEST_F(ComMessageFilter, RevokingWithoutAFilterGivesNone) {
    EXPECT_EQ(exchangeMessageFilter(nullptr), nullptr);
}

}  // namespace
}  // namespace orvane::cadlink::com
