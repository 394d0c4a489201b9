#include "ui/topmost.h"

#include <QVariant>
#include <QWidget>

#include "ui/x11/netwm.h"

namespace orvane::ui {

namespace {
constexpr char kTopMost[] = "orvaneTopMost";
}

void SetTopMost(QWidget* window, bool on) {
    window->setProperty(kTopMost, on);
    if (window->isVisible()) {
        x11::requestAbove(x11::qtDisplay(), static_cast<x11::XWindowId>(window->winId()), on);
        return;
    }
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

bool topMostRequested(const QWidget* window) { return window->property(kTopMost).toBool(); }

}  // namespace orvane::ui
