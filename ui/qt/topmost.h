#pragma once

class QWidget;

namespace orvane::ui {

// Puts a top-level window into the band above all ordinary windows, or takes
// it out, without moving, resizing, hiding or deactivating it. On X11 a shown
// window is changed through its window manager and a hidden one through its
// _NET_WM_STATE, which the window manager reads when it is shown. Elsewhere a
// hidden window takes the stays-on-top flag.
void SetTopMost(QWidget* window, bool on);

// What SetTopMost last asked for the window.
bool topMostRequested(const QWidget* window);

}  // namespace orvane::ui
