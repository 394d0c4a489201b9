#include "ui/qt/boxes.h"

#include <QMessageBox>

#include "ui/qt/theme.h"

namespace orvane::ui {

namespace {

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
             QMessageBox::StandardButton button) {
    installApplicationIcon();
    QMessageBox box(icon, caption, text, button, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

void QtMessageBoxes::showError(QWidget* parent, const QString& caption, const QString& text) {
    showBox(parent, QMessageBox::Critical, caption, text, QMessageBox::Ok);
}

void QtMessageBoxes::showInformation(QWidget* parent, const QString& caption, const QString& text) {
    showBox(parent, QMessageBox::Information, caption, text, QMessageBox::Ok);
}

void QtMessageBoxes::showStyleMissing(const QString& caption, const QString& text) {
    showBox(nullptr, QMessageBox::Critical, caption, text, QMessageBox::Close);
}

QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string fromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

}  // namespace orvane::ui
