#include "ui/qt/inputmethod.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QInputMethod>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "cadlink/x11/fcitx5.h"

namespace orvane::ui {

namespace {

// Fire and forget, never starting a daemon: without Fcitx the bus answers
// with an error that nobody waits for. The monitor's blocking client is not
// used here, so that focusing a field never waits on the bus.
void deactivateFcitx() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    using namespace cadlink::x11;
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kFcitx5Service), QString::fromLatin1(kFcitx5Path),
                                                       QString::fromLatin1(kFcitx5Interface),
                                                       QStringLiteral("Deactivate"));
    call.setAutoStartService(false);
    bus.send(call);
}

}  // namespace

void switchInputMethodOff(QWidget* field) {
    field->setInputMethodHints(field->inputMethodHints() | Qt::ImhPreferLatin);
    QGuiApplication::inputMethod()->reset();
    // After the input method has seen the focus move to this field, so that
    // it is this field's input context that goes off.
    QPointer<QWidget> guarded(field);
    QTimer::singleShot(0, field, [guarded] {
        if (guarded && guarded->hasFocus()) {
            deactivateFcitx();
        }
    });
}

}  // namespace orvane::ui
