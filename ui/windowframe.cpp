#include "ui/windowframe.h"

#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cmath>

#include "ui/x11/netwm.h"

namespace orvane::ui {

namespace {

constexpr char kLearnedExtents[] = "orvaneLearnedFrameExtents";
// Window managers answer within a few milliseconds; a missing answer must not
// hold up the start for long.
constexpr std::chrono::milliseconds kFrameExtentsWait{500};

int toLogicalLength(int physical, qreal ratio) { return static_cast<int>(std::lround(physical / ratio)); }
int toPhysicalLength(int logical, qreal ratio) { return static_cast<int>(std::lround(logical * ratio)); }

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
    return {toPhysicalLength(logical.x(), ratio), toPhysicalLength(logical.y(), ratio),
            toPhysicalLength(logical.width(), ratio), toPhysicalLength(logical.height(), ratio)};
}

QRect toLogical(const QRect& physical, qreal ratio) {
    return {toLogicalLength(physical.x(), ratio), toLogicalLength(physical.y(), ratio),
            toLogicalLength(physical.width(), ratio), toLogicalLength(physical.height(), ratio)};
}

}  // namespace orvane::ui
