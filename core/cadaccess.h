#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orvane {

// The CAD steps a menu command can take on the attached application object.
class CadSession {
public:
    virtual ~CadSession() = default;
    virtual void BringCADToFront() = 0;
    virtual void SendCADCommand(std::u16string_view text) = 0;
    // A member of the application object read as text ("FullName", "Path").
    virtual std::u16string ReadTextMember(std::u16string_view member) = 0;
};

// The CAD guard: when the target CAD runs, attach to it and run the steps;
// every failure inside is discarded and whatever was done stays done.
class CadAccess {
public:
    virtual ~CadAccess() = default;
    virtual void runGuarded(const std::function<void(CadSession&)>& steps) = 0;
};

}  // namespace orvane
