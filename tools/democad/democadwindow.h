#pragma once

#include <QWidget>

#include <functional>

class QPlainTextEdit;

namespace democad {

// The CAD's main window: a command line history of every command text and
// Escape key it receives. Every key it gets is reported, Escape as "ESCAPE",
// a key that types text as "KEY <text>".
class DemoCadWindow : public QWidget {
    Q_OBJECT

public:
    explicit DemoCadWindow(std::function<void(const QString&)> onKey);

    void showCommand(const QString& text);
    // The top-level X11 window id, 0 when the platform has no such thing.
    quint64 nativeWindowId();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPlainTextEdit* history_;
    std::function<void(const QString&)> onKey_;
};

}  // namespace democad
