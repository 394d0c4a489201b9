#include "ui/qt/windowframe.h"

#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cmath>
#include <cstdlib>

#include "ui/qt/x11/netwm.h"

namespace orvane::ui {

namespace {

constexpr char kLearnedExtents[] = "orvaneLearnedFrameExtents";
constexpr char kSetPhysical[] = "orvaneSetPhysicalBounds";
constexpr char kSetClient[] = "orvaneSetClientGeometry";
// Window managers answer within a few milliseconds; a missing answer must not
// hold up the start for long.
constexpr std::chrono::milliseconds kFrameExtentsWait{500};

int toLogicalLength(int physical, qreal ratio) { return static_cast<int>(std::lround(physical / ratio)); }
int toPhysicalLength(int logical, qreal ratio) { return static_cast<int>(std::lround(logical * ratio)); }

// right and bottom are exclusive.
QRect edgesToRect(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

}  // namespace

void learnFrameExtents(QWidget* window) {
    _XDisplay* display = x11::qtDisplay();
    if (display == nullptr) {
        return;
    }
    const auto id = static_cast<x11::XWindowId>(window->winId());
    if (const auto extents = x11::requestFrameExtents(display, id, kFrameExtentsWait)) {
        const qreal ratio = pixelRatio(window);
        const QMargins logical(toLogicalLength(extents->left(), ratio), toLogicalLength(extents->top(), ratio),
                               toLogicalLength(extents->right(), ratio), toLogicalLength(extents->bottom(), ratio));
        window->setProperty(kLearnedExtents, QVariant::fromValue(logical));
    }
}

QMargins frameMargins(const QWidget* window) {
    if (const QWindow* handle = window->windowHandle(); handle != nullptr && window->isVisible()) {
        const QMargins reported = handle->frameMargins();
        if (!reported.isNull()) {
            return reported;
        }
    }
    const QVariant learned = window->property(kLearnedExtents);
    return learned.isValid() ? learned.value<QMargins>() : QMargins();
}

QRect outerGeometry(const QWidget* window) { return window->geometry().marginsAdded(frameMargins(window)); }

void setOuterGeometry(QWidget* window, const QRect& outer) {
    window->setGeometry(outer.marginsRemoved(frameMargins(window)));
}

qreal pixelRatio(const QWidget* window) {
    const QScreen* screen = window->screen();
    return screen != nullptr ? screen->devicePixelRatio() : window->devicePixelRatioF();
}

QRect toPhysical(const QRect& logical, qreal ratio) {
    return edgesToRect(toPhysicalLength(logical.x(), ratio), toPhysicalLength(logical.y(), ratio),
                       toPhysicalLength(logical.x() + logical.width(), ratio),
                       toPhysicalLength(logical.y() + logical.height(), ratio));
}

QRect toLogical(const QRect& physical, qreal ratio) {
    return edgesToRect(toLogicalLength(physical.x(), ratio), toLogicalLength(physical.y(), ratio),
                       toLogicalLength(physical.x() + physical.width(), ratio),
                       toLogicalLength(physical.y() + physical.height(), ratio));
}

void setPhysicalOuterBounds(QWidget* window, const QRect& physical) {
    const QRect client = toLogical(physical, pixelRatio(window)).marginsRemoved(frameMargins(window));
    window->setGeometry(client);
    window->setProperty(kSetPhysical, physical);
    window->setProperty(kSetClient, client);
}

QRect physicalOuterBounds(const QWidget* window) {
    const qreal ratio = pixelRatio(window);
    const QRect converted = toPhysical(outerGeometry(window), ratio);
    const QVariant setPhysical = window->property(kSetPhysical);
    if (!setPhysical.isValid()) {
        return converted;
    }
    // At a fractional scale the platform rounds the device pixels of a
    // window its own way; an edge one logical pixel off is that rounding,
    // not a move.
    const int slack = ratio == std::round(ratio) ? 0 : 1;
    const QRect set = setPhysical.toRect();
    const QRect setClient = window->property(kSetClient).toRect();
    const QRect client = window->geometry();
    const auto edge = [slack](int clientEdge, int setClientEdge, int setEdge, int convertedEdge) {
        return std::abs(clientEdge - setClientEdge) <= slack ? setEdge : convertedEdge;
    };
    return edgesToRect(edge(client.left(), setClient.left(), set.x(), converted.x()),
                       edge(client.top(), setClient.top(), set.y(), converted.y()),
                       edge(client.right(), setClient.right(), set.x() + set.width(), converted.x() + converted.width()),
                       edge(client.bottom(), setClient.bottom(), set.y() + set.height(),
                            converted.y() + converted.height()));
}

}  // namespace orvane::ui
