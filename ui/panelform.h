#pragma once

#include <string_view>

#include "cadlink/cadmonitor.h"
#include "core/panelcore.h"
#include "ui/handlerrun.h"

namespace orvane::ui {

// What the panel's logic needs of the window that shows it.
class PanelView {
public:
    virtual ~PanelView() = default;

    // Shown, not hidden; shown minimised; maximised, by the panel or by a
    // window manager that ignores its hints.
    virtual bool windowShown() const = 0;
    virtual bool windowMinimised() const = 0;
    virtual bool windowMaximised() const = 0;
    // Asks the window to return to its normal bounds; it reports them when
    // it has.
    virtual void leaveMaximised() = 0;
    // Outer bounds in pixels, as the window has them and as it is to take them.
    virtual Bounds outerBounds() const = 0;
    virtual void applyOuterBounds(const Bounds& bounds) = 0;
    // Ends the open dialog and boxes as if cancelled, then closes the panel.
    virtual void cancelModalWindows() = 0;
    virtual void closeWindow() = 0;
    // The default error box.
    virtual void showError(std::u16string_view caption, std::u16string_view text) = 0;
};

// The panel window's rules over the panel core: the bounds the state keeps,
// the chooser's events, ending the program, and what the monitor reads and
// changes. The core must outlive it.
class PanelFormLogic final : public cadlink::MonitoredPanel {
public:
    PanelFormLogic(PanelView& view, PanelCore& core) : view_(view), core_(core) {}

    // The window moved, was resized or changed its state. A minimised or
    // hidden window keeps the normal bounds in the state; a maximised one is
    // sent back to them.
    void boundsReported();
    // The state's bounds changed: the window takes them, and the state holds
    // what it took.
    void boundsChanged();
    // The state takes the bounds the window has, without applying them back.
    void recordBounds();

    // The chooser's entry at index was picked by the user; -1 is no entry.
    void ComboBox1Change(int index);

    // Ends the program: an open dialog or box ends as if cancelled first.
    void closeProgram();

    // MonitoredPanel
    std::uint32_t lampColour() const override { return core_.state().shape1Fill(); }
    void setLampColour(std::uint32_t rgb) override { core_.state().setShape1Fill(rgb); }
    bool imeOffTicked() const override { return core_.state().checkBox1(); }
    bool cadSeen() const override { return core_.shared().CADSeen; }
    void setCadSeen(bool seen) override { core_.shared().CADSeen = seen; }
    // The CAD the panel served has gone.
    void requestClose() override { closeProgram(); }

    // Runs a handler of an event, reporting what escapes it.
    template <typename Handler>
    void report(Handler&& handler) {
        reportingErrors(core_.programPath(),
                        [this](std::u16string_view caption, std::u16string_view text) { view_.showError(caption, text); },
                        std::forward<Handler>(handler));
    }

private:
    PanelView& view_;
    PanelCore& core_;
    bool applyingBounds_ = false;
    bool recordingBounds_ = false;
};

}  // namespace orvane::ui
