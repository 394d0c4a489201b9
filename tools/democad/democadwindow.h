#pragma once

#include <QWidget>

#include <functional>

class QPlainTextEdit;

namespace democad {

// The CAD's main window: a command line history of every command text and
// Escape key it receives.
class DemoCadWindow : public QWidget {
    Q_OBJECT

public:
    explicit DemoCadWindow(std::function<void()> onEscape);

    void showCommand(const QString& text);
    // The top-level X11 window id, 0 when the platform has no such thing.
    quint64 nativeWindowId();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPlainTextEdit* history_;
    std::function<void()> onEscape_;
};

}  // namespace democad
