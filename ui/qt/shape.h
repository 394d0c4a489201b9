#pragma once

#include <QColor>
#include <QWidget>

namespace orvane::ui {

// A filled rectangle with a one-pixel black outline: the status lamp.
class TShape final : public QWidget {
    Q_OBJECT

public:
    explicit TShape(QWidget* parent);

    QColor fill() const { return fill_; }
    void setFill(const QColor& fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_ = Qt::black;
};

}  // namespace orvane::ui
