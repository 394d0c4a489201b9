#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// What the panel needs of an automation system: class lookup by ProgID, the
// running-object lookup, late-bound member calls with variant values, and a
// message filter that decides about rejected calls. One backend per system.
namespace orvane::cadlink {

// Status codes of failures, as the automation system reports them.
namespace status {
inline constexpr std::int32_t ClassNotRegistered = static_cast<std::int32_t>(0x800401F3);  // CO_E_CLASSSTRING
inline constexpr std::int32_t NotRunning = static_cast<std::int32_t>(0x800401E3);          // MK_E_UNAVAILABLE
inline constexpr std::int32_t NoInterface = static_cast<std::int32_t>(0x80004002);         // E_NOINTERFACE
inline constexpr std::int32_t UnknownName = static_cast<std::int32_t>(0x80020006);         // DISP_E_UNKNOWNNAME
inline constexpr std::int32_t Exception = static_cast<std::int32_t>(0x80020009);           // DISP_E_EXCEPTION
inline constexpr std::int32_t TypeMismatch = static_cast<std::int32_t>(0x80020005);        // DISP_E_TYPEMISMATCH
inline constexpr std::int32_t CallRejected = static_cast<std::int32_t>(0x80010001);        // RPC_E_CALL_REJECTED
inline constexpr std::int32_t CallFailed = static_cast<std::int32_t>(0x80010100);          // RPC_E_SYS_CALL_FAILED
// No answer in time from a CAD that still runs: it may yet carry the call out.
inline constexpr std::int32_t Busy = static_cast<std::int32_t>(0x8001011F);                // RPC_E_TIMEOUT
inline constexpr std::int32_t Failed = static_cast<std::int32_t>(0x80004005);              // E_FAIL
inline constexpr std::int32_t Overflow = static_cast<std::int32_t>(0x8002000A);            // DISP_E_OVERFLOW
inline constexpr std::int32_t NullObject = static_cast<std::int32_t>(0x80004003);          // E_POINTER
}  // namespace status

// A failed automation step. Keeps the status code and the system's text so
// the caller's guard can decide what to do with it.
class AutomationError : public std::runtime_error {
public:
    AutomationError(std::int32_t code, const std::string& text)
        : std::runtime_error(text), code_(code) {}
    std::int32_t code() const noexcept { return code_; }

private:
    std::int32_t code_;
};

class AutomationObject;
using ObjectRef = std::shared_ptr<AutomationObject>;

// The null value, unlike the empty one, has no number, text or truth value:
// every conversion of it fails. An error code returned in place of a value
// converts no better and is taken as null too.
struct NullValue {
    bool operator==(const NullValue&) const = default;
};

// A value as a late-bound member returns it.
using Variant = std::variant<std::monostate,  // empty
                             bool, std::int64_t, std::uint64_t, double, std::u16string,
                             ObjectRef, NullValue>;

// Standard conversions; each throws AutomationError(TypeMismatch) when the
// value has no such form, and AutomationError(Overflow) when a number does
// not fit.
std::int64_t variantToInt64(const Variant& value);
std::u16string variantToText(const Variant& value);
bool variantToBool(const Variant& value);
ObjectRef variantToObject(const Variant& value);

using DispId = std::int32_t;

// Call kind flags of a late-bound call.
enum class CallKind : std::uint16_t { Method = 1, MethodOrPropertyGet = 3 };

class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    // Throws AutomationError(UnknownName) when the object has no such member.
    virtual DispId GetIDsOfNames(std::u16string_view name) = 0;
    virtual Variant Invoke(DispId member, CallKind kind, const std::optional<std::u16string>& argument,
                           bool wantResult) = 0;
};

// Answers of a message filter, as the automation system consults it.
class MessageFilterInterface {
public:
    virtual ~MessageFilterInterface() = default;
    virtual std::uint32_t HandleInComingCall(std::uint32_t dwCallType, std::uintptr_t htaskCaller,
                                             std::uint32_t dwTickCount) = 0;
    virtual std::int32_t RetryRejectedCall(std::uintptr_t htaskCallee, std::uint32_t dwTickCount,
                                           std::uint32_t dwRejectType) = 0;
    virtual std::uint32_t MessagePending(std::uintptr_t htaskCallee, std::uint32_t dwTickCount,
                                         std::uint32_t dwPendingType) = 0;
};
using MessageFilterRef = std::shared_ptr<MessageFilterInterface>;

// An opaque class identity that a ProgID maps to.
struct ClassId {
    std::string value;
};

class AutomationRuntime {
public:
    virtual ~AutomationRuntime() = default;
    // Throws AutomationError(ClassNotRegistered) for an unknown ProgID.
    virtual ClassId CLSIDFromProgID(std::u16string_view progId) = 0;
    // Throws AutomationError(NotRunning) when no instance runs.
    virtual ObjectRef GetActiveObject(const ClassId& classId) = 0;
    // Installs filter (may be null) and hands back the one it replaces.
    virtual MessageFilterRef CoRegisterMessageFilter(MessageFilterRef filter) = 0;
};

}  // namespace orvane::cadlink
