#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "core/error.h"
#include "core/utf.h"
#include "ui/handlerrun.h"

class QWidget;

namespace orvane::ui {

// Every message box the program shows goes through here, so tests can
// capture them without running modal loops.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // The default error box: error icon, one OK button.
    virtual void showError(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Information icon, one OK button.
    virtual void showInformation(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Error icon, one Close button: the visual style is missing at program entry.
    virtual void showStyleMissing(const QString& caption, const QString& text) = 0;
};

// Real modal boxes; each runs its own event loop, in which timers go on ticking.
class QtMessageBoxes final : public MessageBoxes {
public:
    void showError(QWidget* parent, const QString& caption, const QString& text) override;
    void showInformation(QWidget* parent, const QString& caption, const QString& text) override;
    void showStyleMissing(const QString& caption, const QString& text) override;
};

QString toQString(std::u16string_view text);
std::u16string fromQString(const QString& text);

// Runs a handler; an error that escapes it goes to the default error box and
// the program goes on with the next event.
template <typename Handler>
void runHandler(MessageBoxes& boxes, QWidget* parent, std::u16string_view programPath, Handler&& handler) {
    reportingErrors(
        programPath,
        [&](std::u16string_view caption, std::u16string_view text) {
            boxes.showError(parent, toQString(caption), toQString(text));
        },
        std::forward<Handler>(handler));
}

}  // namespace orvane::ui
