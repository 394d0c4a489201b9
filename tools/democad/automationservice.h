#pragma once

#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QHash>

#include <functional>

#include "tools/democad/options.h"

namespace democad {

class EventLog;

// What the served objects ask of the rest of the demo.
struct CadFacts {
    std::function<quint64()> windowId;
    std::function<void(const QString&)> onCommand;
};

// Every object of the demo CAD on the bus, in one dispatcher so that the
// busy, reject and lack switches apply alike to methods and properties.
class AutomationService : public QDBusVirtualObject {
    Q_OBJECT

public:
    AutomationService(const Options& options, EventLog& log, CadFacts facts, QObject* parent = nullptr);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    struct Answer {
        QDBusMessage reply;
        bool send = true;
    };

    Answer answer(const QDBusMessage& message, const QString& member, bool asProperty);
    bool busyFor(const QDBusMessage& message, const QString& member);
    QVariant applicationValue(const QString& member, bool asProperty, bool& found) const;
    // The answer of a method the demo serves by itself; found is false for others.
    QVariant ownApplicationValue(const QString& member, bool& found) const;
    QVariant objectValue(const QString& path, const QString& member, const QDBusMessage& message, bool& found,
                         QString& invalidArgs);

    const Options& options_;
    EventLog& log_;
    CadFacts facts_;
    QElapsedTimer life_;
    QHash<QString, qint64> busySince_;
};

}  // namespace democad
