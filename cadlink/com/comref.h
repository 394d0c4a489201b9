#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace orvane::cadlink::com {

// One counted reference to a COM interface, released with the holder.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already counted.
    static ComRef adopt(Interface* pointer) {
        ComRef ref;
        ref.pointer_ = pointer;
        return ref;
    }
    // Counts a reference of its own.
    static ComRef share(Interface* pointer) {
        if (pointer != nullptr) pointer->AddRef();
        return adopt(pointer);
    }
    ~ComRef() { reset(); }
    ComRef(ComRef&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // The slot an out parameter fills; whatever was held is released first.
    Interface** put() {
        reset();
        return &pointer_;
    }
    void reset() {
        if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
    }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace orvane::cadlink::com
