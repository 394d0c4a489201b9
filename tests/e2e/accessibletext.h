#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace orvane::e2e {

// What a screen reader reads and does: the accessible names and actions of a
// process's widgets, over the accessibility bus (AT-SPI), on any windowing
// system. The bus must be up before the
// program starts, and the program run with accessibility on.
class AccessibleText {
public:
    // Starts the accessibility bus when needed; false when there is none.
    static bool startBus();
    // The environment switch that makes a Qt program serve its widgets.
    static constexpr char kAlwaysOn[] = "QT_LINUX_ACCESSIBILITY_ALWAYS_ON";

    // The accessible names in the windows of the process, nearest to the
    // top first, up to and including the first one that satisfies stopAt.
    static QStringList namesOf(qint64 pid, const std::function<bool(const QString&)>& stopAt = {});

    // Presses the first widget of the process with this accessible name, as
    // a screen reader's user does: a menu item is triggered without opening
    // its menu. False when there is no such widget or it has no action.
    static bool press(qint64 pid, const QString& name);
};

}  // namespace orvane::e2e
