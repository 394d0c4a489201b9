#include "tools/democad/democadwindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <utility>

#include "tools/democad/eventlog.h"

namespace democad {

DemoCadWindow::DemoCadWindow(std::function<void()> onEscape)
    : history_(new QPlainTextEdit(this)), onEscape_(std::move(onEscape)) {
    setWindowTitle(QStringLiteral("Demo CAD"));
    resize(640, 400);
    history_->setReadOnly(true);
    // Keys go to the window itself, where the Escape is counted.
    history_->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(history_);
}

void DemoCadWindow::showCommand(const QString& text) {
    history_->appendPlainText(QStringLiteral("Command: ") + escapedText(text));
}

quint64 DemoCadWindow::nativeWindowId() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return 0;
    }
    return static_cast<quint64>(window()->winId());
}

void DemoCadWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        history_->appendPlainText(QStringLiteral("*Cancel*"));
        onEscape_();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace democad
