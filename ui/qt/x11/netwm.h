#pragma once

#include <QMargins>

#include <chrono>
#include <optional>

#include "cadlink/x11/ewmh.h"

struct _XDisplay;

// The window manager's side of a top-level window on X11 (EWMH): the
// top-most state and the frame around the client window.
namespace orvane::ui::x11 {

using XWindowId = unsigned long;

// Qt's own display connection; nullptr when Qt does not run on X11.
_XDisplay* qtDisplay();

using cadlink::x11::windowManagerRuns;

// Asks the window manager to add or remove _NET_WM_STATE_ABOVE on a mapped
// (normal or iconic) client window.
void requestAbove(_XDisplay* display, XWindowId window, bool on);

// Adds or removes _NET_WM_STATE_ABOVE in the property of a window that is not
// mapped; the window manager reads it when the window is next mapped.
void setAboveOnUnmapped(_XDisplay* display, XWindowId window, bool on);

// The window manager has maximised the window, in one direction or both.
bool maximised(_XDisplay* display, XWindowId window);

// Asks the window manager to take a mapped window out of the maximised state
// in both directions.
void requestNotMaximised(_XDisplay* display, XWindowId window);

// The window's _NET_WM_STATE holds the named atom.
bool hasWmState(_XDisplay* display, XWindowId window, const char* stateAtom);

// _NET_FRAME_EXTENTS of the window in X pixels, when the window manager set it.
std::optional<QMargins> frameExtents(_XDisplay* display, XWindowId window);

// Asks the window manager for the frame it will put around a window that is
// not mapped yet (_NET_REQUEST_FRAME_EXTENTS) and waits up to the given time
// for the answer. nullopt without a window manager or without an answer.
std::optional<QMargins> requestFrameExtents(_XDisplay* display, XWindowId window,
                                            std::chrono::milliseconds wait);

}  // namespace orvane::ui::x11
