#include "ui/qt/shape.h"

#include <QPainter>

namespace orvane::ui {

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::setFill(const QColor& fill) {
    if (fill_ != fill) {
        fill_ = fill;
        update();
    }
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), fill_);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace orvane::ui
