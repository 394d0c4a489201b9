#include "cadlink/cadconnection.h"

#include <utility>

#include "core/utf.h"

namespace orvane::cadlink {
namespace {

constexpr std::uint32_t RestoreWaitMs = 500;
constexpr std::uint32_t KeyHoldMs = 5;
constexpr std::uint32_t AfterKeyWaitMs = 100;

// A numeric comparison that keeps every bit of the CAD's value, so a handle
// with high bits set never matches a 32-bit foreground window by accident.
bool equalsAsNumber(const Variant& value, std::int32_t number) {
    if (const auto* real = std::get_if<double>(&value)) {
        return *real == static_cast<double>(number);
    }
    return variantToInt64(value) == number;
}

}  // namespace

CadConnection::CadConnection(AutomationRuntime& runtime, WindowSystem& windows,
                             ProgIdSource targetProgId)
    : runtime_(runtime), windows_(windows), targetProgId_(std::move(targetProgId)) {}

bool CadConnection::IsTargetCADRunning() const {
    try {
        const ClassId classId = runtime_.CLSIDFromProgID(targetProgId_());
        runtime_.GetActiveObject(classId);
        return true;
    } catch (...) {
        return false;
    }
}

ObjectRef CadConnection::AttachTargetCAD() const {
    const ClassId classId = runtime_.CLSIDFromProgID(targetProgId_());
    ObjectRef application = runtime_.GetActiveObject(classId);
    if (!application) {
        throw AutomationError(status::NoInterface, "the running CAD offers no automation object");
    }
    return application;
}

Variant CadConnection::CallCADMember(const ObjectRef& object, std::u16string_view member,
                                     const std::optional<std::u16string>& argument,
                                     bool wantResult) const {
    if (!object) {
        throw AutomationError(status::NullObject,
                              "no automation object to call " + toUtf8(member) + " on");
    }
    DispId id = 0;
    try {
        id = object->GetIDsOfNames(member);
    } catch (const AutomationError& error) {
        if (error.code() != status::UnknownName) {
            throw;
        }
        throw AutomationError(status::UnknownName,
                              "the automation object does not support " + toUtf8(member));
    }
    const CallKind kind =
        wantResult && !argument ? CallKind::MethodOrPropertyGet : CallKind::Method;
    Variant result = object->Invoke(id, kind, argument, wantResult);
    if (!wantResult) {
        return {};
    }
    return result;
}

Variant CadConnection::readHwnd(const ObjectRef& application) const {
    return CallCADMember(application, u"HWND", std::nullopt, true);
}

WindowHandle CadConnection::ReadCADWindowHandle(const ObjectRef& application) const {
    const auto bits = static_cast<std::uint64_t>(variantToInt64(readHwnd(application)));
    return static_cast<WindowHandle>(bits & 0xFFFFFFFFU);
}

void CadConnection::BringCADToFront(const ObjectRef& application) const {
    if (windows_.IsIconic(ReadCADWindowHandle(application))) {
        windows_.OpenIcon(ReadCADWindowHandle(application));
        windows_.Sleep(RestoreWaitMs);
    }
    windows_.SetForegroundWindow(ReadCADWindowHandle(application));
    const auto foreground = static_cast<std::int32_t>(windows_.GetForegroundWindow());
    if (equalsAsNumber(readHwnd(application), foreground)) {
        pressEscape();
    }
}

void CadConnection::pressEscape() const {
    windows_.keybd_event(VK_ESCAPE_KEY, false);
    windows_.Sleep(KeyHoldMs);
    windows_.keybd_event(VK_ESCAPE_KEY, true);
    windows_.Sleep(AfterKeyWaitMs);
}

void CadConnection::SendCADCommand(const ObjectRef& application, std::u16string_view text) const {
    const ObjectRef document =
        variantToObject(CallCADMember(application, u"ActiveDocument", std::nullopt, true));
    CallCADMember(document, u"SendCommand", std::u16string(text), false);
}

}  // namespace orvane::cadlink
