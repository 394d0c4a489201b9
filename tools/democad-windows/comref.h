#pragma once

#include <windows.h>

#include <utility>

namespace democad {

// An owned reference to a COM object.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller holds.
    static ComRef adopt(T* object) {
        ComRef ref;
        ref.object_ = object;
        return ref;
    }
    ComRef(const ComRef& other) : object_(other.object_) {
        if (object_ != nullptr) object_->AddRef();
    }
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~ComRef() {
        if (object_ != nullptr) object_->Release();
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    // A new reference for the caller.
    T* share() const {
        if (object_ != nullptr) object_->AddRef();
        return object_;
    }

private:
    T* object_ = nullptr;
};

}  // namespace democad
