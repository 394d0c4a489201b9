#include "ui/qt/topmost.h"

#include <QRect>
#include <QVariant>
#include <QWidget>

#include "ui/qt/x11/netwm.h"

namespace orvane::ui {

namespace {
constexpr char kTopMost[] = "orvaneTopMost";
}

void SetTopMost(QWidget* window, bool on) {
    window->setProperty(kTopMost, on);
    if (_XDisplay* display = x11::qtDisplay()) {
        // New window flags would make Qt recreate the native window, and hide
        // it when shown; the window manager takes the state directly instead.
        const auto id = static_cast<x11::XWindowId>(window->winId());
        if (window->isVisible()) {
            x11::requestAbove(display, id, on);
        } else {
            x11::setAboveOnUnmapped(display, id, on);
        }
        return;
    }
    if (window->isVisible()) {
        return;
    }
    // Elsewhere the flag, only while hidden; Qt re-places a window with new
    // flags by its frame position, so keep the client geometry.
    const QRect geometry = window->geometry();
    const bool placed = window->testAttribute(Qt::WA_Moved);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (placed) {
        window->setGeometry(geometry);
    } else {
        window->resize(geometry.size());
    }
}

bool topMostRequested(const QWidget* window) { return window->property(kTopMost).toBool(); }

}  // namespace orvane::ui
