#pragma once

class QWidget;

namespace orvane::ui {

// Puts a top-level window into the band above all ordinary windows, or takes
// it out, without moving, resizing, hiding or deactivating it. A shown
// window is changed through its window manager; changing window flags would
// hide it. A hidden one takes the flag, which applies when it is next shown.
void SetTopMost(QWidget* window, bool on);

// What SetTopMost last asked for the window.
bool topMostRequested(const QWidget* window);

}  // namespace orvane::ui
