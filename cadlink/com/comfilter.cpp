#include "cadlink/com/comfilter.h"

#include <objbase.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <unordered_set>
#include <utility>

#include "cadlink/com/comref.h"

namespace orvane::cadlink::com {
namespace {

// The COM face of one of our filters. The ones alive are known by address,
// so a filter handed back by the system is recognised as ours without
// asking a foreign object anything.
class FilterAdapter final : public IMessageFilter {
public:
    explicit FilterAdapter(MessageFilterRef filter) : filter_(std::move(filter)) {
        const std::lock_guard lock(mutex());
        live().insert(this);
    }
    FilterAdapter(const FilterAdapter&) = delete;
    FilterAdapter& operator=(const FilterAdapter&) = delete;

    // The filter behind pointer when it is one of ours, else null.
    static MessageFilterRef filterBehind(IMessageFilter* pointer) {
        const std::lock_guard lock(mutex());
        if (live().count(pointer) == 0) return nullptr;
        return static_cast<FilterAdapter*>(pointer)->filter_;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IMessageFilter) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        *object = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --count_;
        if (left == 0) delete this;
        return left;
    }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD dwCallType, HTASK htaskCaller, DWORD dwTickCount,
                                               LPINTERFACEINFO /*lpInterfaceInfo*/) override {
        return filter_->HandleInComingCall(dwCallType, reinterpret_cast<std::uintptr_t>(htaskCaller), dwTickCount);
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK htaskCallee, DWORD dwTickCount, DWORD dwRejectType) override {
        return static_cast<DWORD>(
            filter_->RetryRejectedCall(reinterpret_cast<std::uintptr_t>(htaskCallee), dwTickCount, dwRejectType));
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK htaskCallee, DWORD dwTickCount, DWORD dwPendingType) override {
        return filter_->MessagePending(reinterpret_cast<std::uintptr_t>(htaskCallee), dwTickCount, dwPendingType);
    }

private:
    ~FilterAdapter() {
        const std::lock_guard lock(mutex());
        live().erase(this);
    }
    static std::mutex& mutex() {
        static std::mutex instance;
        return instance;
    }
    static std::unordered_set<const IMessageFilter*>& live() {
        static std::unordered_set<const IMessageFilter*> instance;
        return instance;
    }

    std::atomic<ULONG> count_{1};
    MessageFilterRef filter_;
};

// A filter someone else installed, holding its own reference to it.
class ForeignFilter final : public MessageFilterInterface {
public:
    explicit ForeignFilter(ComRef<IMessageFilter> filter) : filter_(std::move(filter)) {}

    IMessageFilter* get() const { return filter_.get(); }

    // Our interface has no interface information to pass on.
    std::uint32_t HandleInComingCall(std::uint32_t dwCallType, std::uintptr_t htaskCaller,
                                     std::uint32_t dwTickCount) override {
        return filter_->HandleInComingCall(dwCallType, reinterpret_cast<HTASK>(htaskCaller), dwTickCount, nullptr);
    }
    std::int32_t RetryRejectedCall(std::uintptr_t htaskCallee, std::uint32_t dwTickCount,
                                   std::uint32_t dwRejectType) override {
        return static_cast<std::int32_t>(
            filter_->RetryRejectedCall(reinterpret_cast<HTASK>(htaskCallee), dwTickCount, dwRejectType));
    }
    std::uint32_t MessagePending(std::uintptr_t htaskCallee, std::uint32_t dwTickCount,
                                 std::uint32_t dwPendingType) override {
        return filter_->MessagePending(reinterpret_cast<HTASK>(htaskCallee), dwTickCount, dwPendingType);
    }

private:
    ComRef<IMessageFilter> filter_;
};

// The COM object to install for filter, with a reference of the caller's.
ComRef<IMessageFilter> comFilterFor(MessageFilterRef filter) {
    if (!filter) return {};
    // Our own wrapper type: a C++ object of this module, never a COM pointer.
    if (const auto* foreign = dynamic_cast<const ForeignFilter*>(filter.get())) {
        return ComRef<IMessageFilter>::share(foreign->get());
    }
    return ComRef<IMessageFilter>::adopt(new FilterAdapter(std::move(filter)));
}

MessageFilterRef filterFor(ComRef<IMessageFilter> previous) {
    if (!previous) return nullptr;
    if (MessageFilterRef ours = FilterAdapter::filterBehind(previous.get())) return ours;
    return std::make_shared<ForeignFilter>(std::move(previous));
}

}  // namespace

MessageFilterRef exchangeMessageFilter(MessageFilterRef filter) {
    const ComRef<IMessageFilter> installed = comFilterFor(std::move(filter));
    ComRef<IMessageFilter> previous;
    // The system counts a reference of its own to what it installs.
    if (FAILED(::CoRegisterMessageFilter(installed.get(), previous.put()))) return nullptr;
    return filterFor(std::move(previous));
}

}  // namespace orvane::cadlink::com
