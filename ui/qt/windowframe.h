#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// Outer bounds of top-level windows: the client area plus the frame the
// window manager draws around it, which it only knows once it manages the
// window.
namespace orvane::ui {

// Asks the window manager for the frame of a window that is not shown yet,
// so that bounds computed before the first show are outer bounds too. Creates
// the native window. Does nothing where there is no window manager to ask.
void learnFrameExtents(QWidget* window);

// The frame around the window in logical pixels: what the platform reports
// once the window is managed, else what learnFrameExtents found, else none.
QMargins frameMargins(const QWidget* window);

// Frame and client area together, in logical pixels.
QRect outerGeometry(const QWidget* window);
// Places the window so that its outer bounds become outer.
void setOuterGeometry(QWidget* window, const QRect& outer);

// Device pixels per logical pixel on the window's screen.
qreal pixelRatio(const QWidget* window);
// Each edge converts on its own and rounds, as the platform places windows,
// so a rectangle's device pixels are the ones it covers on the screen.
QRect toPhysical(const QRect& logical, qreal ratio);
QRect toLogical(const QRect& physical, qreal ratio);

// Places the window so that its outer bounds in device pixels become
// physical, as near as logical pixels allow, and remembers them.
void setPhysicalOuterBounds(QWidget* window, const QRect& physical);
// The outer bounds in device pixels. An edge whose client-area edge has not
// moved since setPhysicalOuterBounds reads back as it was set there, so
// bounds set and read back are the same at any scale factor.
QRect physicalOuterBounds(const QWidget* window);

}  // namespace orvane::ui
