#include "tools/democad/democadwindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <utility>

#include "tools/democad/eventlog.h"

namespace democad {

DemoCadWindow::DemoCadWindow(std::function<void(const QString&)> onKey)
    : history_(new QPlainTextEdit(this)), onKey_(std::move(onKey)) {
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
    if (event->isAutoRepeat()) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        history_->appendPlainText(QStringLiteral("*Cancel*"));
        onKey_(QStringLiteral("ESCAPE"));
    } else if (!event->text().isEmpty()) {
        onKey_(QStringLiteral("KEY ") + event->text());
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

}  // namespace democad
