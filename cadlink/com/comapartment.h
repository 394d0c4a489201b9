#pragma once

#include <windows.h>

namespace orvane::cadlink::com {

// The calling thread as a single-threaded apartment with OLE, for as long as
// the object lives: the user-interface thread, from program entry to exit.
// Only an initialisation that succeeded (an apartment already there counts)
// is undone at the end.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // False when the thread was already of another kind and stays so; CAD
    // calls may still work then, but no message filter can be registered.
    bool initialised() const { return SUCCEEDED(status_); }
    HRESULT status() const { return status_; }

private:
    HRESULT status_;
};

}  // namespace orvane::cadlink::com
