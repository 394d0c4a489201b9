#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "cadlink/x11/imebus.h"
#include "cadlink/x11/inputmethod.h"

namespace orvane::cadlink::x11 {

inline constexpr char kIBusService[] = "org.freedesktop.IBus";
inline constexpr char kIBusPath[] = "/org/freedesktop/IBus";
inline constexpr char kIBusInterface[] = "org.freedesktop.IBus";

// IBus has no per-window on/off state: the input method is on while the
// global engine is a real input method, off while it is a plain keyboard
// layout (an "xkb:" engine).
class IBusFramework final : public InputMethodFramework {
public:
    explicit IBusFramework(BusCaller call) : call_(std::move(call)) {}

    std::optional<bool> isOpen() override;
    // Off: the first keyboard-layout engine becomes the global engine. On:
    // which input method the user had is unknown, so nothing changes.
    bool setOpen(bool open) override;

private:
    std::optional<QString> globalEngineName() const;
    std::optional<QStringList> engineNames() const;
    QDBusMessage call(const QString& interface, const QString& member,
                      const QVariantList& arguments) const;

    BusCaller call_;
};

bool isKeyboardEngine(const QString& engineName);
std::optional<QString> firstKeyboardEngine(const QStringList& engineNames);

// The file in which IBus publishes its own bus's address for a display:
// <config home>/ibus/bus/<machine id>-<host or "unix">-<display number>.
QString ibusAddressFilePath(const QString& configHome, const QString& machineId,
                            const QString& display);
// The value of the file's IBUS_ADDRESS line, empty without one.
QString ibusAddressFromFile(const QByteArray& content);
// IBus's bus for this session: IBUS_ADDRESS, else the address file; empty
// when IBus has published none.
QString ibusAddress();

}  // namespace orvane::cadlink::x11
