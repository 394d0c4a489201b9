#include "ui/panel.h"

#include "cadlink/messagefilter.h"

namespace orvane::ui {

Panel::Panel(PanelWindow& window, PanelServices services)
    : core_(services.programPath, window, cadlink::callRetryFilterFactory(services.runtime),
            [&window, path = services.programPath](const Error& error) {
                window.showError(applicationTitle(path), errorBoxText(error.message()));
            }),
      logic_(window, core_),
      connection_(services.runtime, services.windows, [this] { return core_.shared().TargetProgID; }),
      guard_(connection_),
      monitor_(connection_, logic_),
      commands_(core_, guard_, window, std::move(services.versionLine)) {}

void Panel::create() {
    logic_.recordBounds();
    core_.FormCreate();
}

void Panel::destroy() {
    if (!destroyed_) {
        destroyed_ = true;
        core_.FormDestroy();
    }
}

}  // namespace orvane::ui
