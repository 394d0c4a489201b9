#pragma once

#include <cstdint>
#include <string_view>

#include "cadlink/cadconnection.h"

namespace orvane::cadlink {

// Lamp fill colours as 0xRRGGBB.
inline constexpr std::uint32_t LampBlack = 0x000000;
inline constexpr std::uint32_t LampLime = 0x00FF00;

// What the monitor needs of the panel: the lamp, the IMEOFF check box, the
// flag that a CAD window has been seen, and a way to ask the panel to close.
class MonitoredPanel {
public:
    virtual ~MonitoredPanel() = default;
    virtual std::uint32_t lampColour() const = 0;
    virtual void setLampColour(std::uint32_t rgb) = 0;
    virtual bool imeOffTicked() const = 0;
    virtual bool cadSeen() const = 0;
    virtual void setCadSeen(bool seen) = 0;
    virtual void requestClose() = 0;
};

// The state member that tells whether the CAD is idle, chosen from the
// target ProgID: "Gcad" servers up to version 23 have their own member,
// later ones answer like "ZWCAD" or the default.
std::u16string_view chooseStateMember(std::u16string_view targetProgId);

// The once-a-second watch on the target CAD: keeps the lamp, switches the
// IME off while the CAD is idle, and closes the panel once a CAD that was
// seen has gone away or failed a call. A CAD that runs but leaves a call
// unanswered is busy, not gone: nothing changes, and the next few ticks only
// check that it still runs before it is called again.
class CadMonitor {
public:
    CadMonitor(const CadConnection& connection, MonitoredPanel& panel)
        : connection_(connection), panel_(panel) {}

    // One tick; never lets a failure escape.
    void Timer1Timer() noexcept;

private:
    void tick();
    void switchImeOff(const ObjectRef& application, WindowHandle cadWindow);
    void setLampIfChanged(std::uint32_t rgb);
    void closeIfSeen() noexcept;
    // Starts the back-off when the failure is a busy CAD; says whether it was.
    bool backOffIfBusy(const AutomationError& error);

    const CadConnection& connection_;
    MonitoredPanel& panel_;
    int ticksToSkip_ = 0;
};

}  // namespace orvane::cadlink
