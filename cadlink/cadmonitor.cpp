#include "cadlink/cadmonitor.h"

#include "core/text.h"

namespace orvane::cadlink {
namespace {

constexpr std::int32_t LastOwnGcadStateVersion = 23;

// Each unanswered call holds the panel for the whole reply timeout, so a CAD
// that stays busy is called on every fifth tick only, about once in 5 s;
// the ticks between still notice at once when it quits.
constexpr int TicksSkippedWhileBusy = 4;

bool contains(std::u16string_view text, std::u16string_view part) {
    return orvane::findPos(part, text) != 0;
}

}  // namespace

std::u16string_view chooseStateMember(std::u16string_view targetProgId) {
    const bool zwcad = contains(targetProgId, u"ZWCAD");
    if (contains(targetProgId, u"Gcad")) {
        const auto lastTwo =
            targetProgId.substr(targetProgId.size() < 2 ? 0 : targetProgId.size() - 2);
        if (orvane::strToIntDef(lastTwo, 0) <= LastOwnGcadStateVersion) {
            return u"GetGcadState";
        }
    }
    return zwcad ? u"GetZcadState" : u"GetAcadState";
}

void CadMonitor::Timer1Timer() noexcept {
    try {
        tick();
    } catch (const AutomationError& error) {
        if (!backOffIfBusy(error)) {
            closeIfSeen();
        }
    } catch (...) {
        closeIfSeen();
    }
}

void CadMonitor::closeIfSeen() noexcept {
    try {
        if (panel_.cadSeen()) {
            panel_.requestClose();
        }
    } catch (...) {
        // A panel that cannot even be asked to close is left to the next tick.
    }
}

bool CadMonitor::backOffIfBusy(const AutomationError& error) {
    if (error.code() != status::Busy) {
        return false;
    }
    ticksToSkip_ = TicksSkippedWhileBusy;
    return true;
}

void CadMonitor::tick() {
    if (!connection_.IsTargetCADRunning()) {
        if (panel_.cadSeen()) {
            panel_.requestClose();
        }
        return;
    }
    if (ticksToSkip_ > 0) {
        --ticksToSkip_;
        return;
    }
    const ObjectRef application = connection_.AttachTargetCAD();
    const WindowHandle cadWindow = connection_.ReadCADWindowHandle(application);
    if (cadWindow != 0) {
        setLampIfChanged(LampLime);
        if (panel_.imeOffTicked()) {
            switchImeOff(application, cadWindow);
        }
    } else {
        setLampIfChanged(LampBlack);
    }
    if (!panel_.cadSeen()) {
        panel_.setCadSeen(connection_.windows().IsWindow(cadWindow));
    }
}

void CadMonitor::setLampIfChanged(std::uint32_t rgb) {
    if (panel_.lampColour() != rgb) {
        panel_.setLampColour(rgb);
    }
}

void CadMonitor::switchImeOff(const ObjectRef& application, WindowHandle cadWindow) {
    WindowSystem& windows = connection_.windows();
    const WindowHandle imeWindow = windows.ImmGetDefaultIMEWnd(cadWindow);
    if (imeWindow == 0) {
        return;
    }
    if ((windows.imeGetOpenStatus(imeWindow) & 0xFF) == 0) {
        return;
    }
    try {
        const std::u16string_view stateMember = chooseStateMember(connection_.targetProgId());
        const ObjectRef state = variantToObject(
            connection_.CallCADMember(application, stateMember, std::nullopt, true));
        if (variantToBool(connection_.CallCADMember(state, u"IsQuiescent", std::nullopt, true))) {
            windows.imeSetOpenStatus(imeWindow, false);
        }
    } catch (const AutomationError& error) {
        // A CAD without the state member, or one that cannot say, keeps its
        // IME open; the tick goes on.
        backOffIfBusy(error);
    } catch (...) {
        // Any other failure there is dropped the same way.
    }
}

}  // namespace orvane::cadlink
