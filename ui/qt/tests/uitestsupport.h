#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cadlink/fake/fakeautomation.h"
#include "cadlink/fake/fakewindowsystem.h"
#include "ui/qt/OrvaneUnit.h"
#include "ui/qt/boxes.h"

namespace orvane::ui::testing {

// Every box the program asked for, without modal loops.
class RecordingBoxes final : public MessageBoxes {
public:
    struct Box {
        QString kind;
        QString caption;
        QString text;
    };

    void showError(QWidget*, const QString& caption, const QString& text) override {
        boxes.push_back({QStringLiteral("error"), caption, text});
        if (onBox) onBox();
    }
    void showInformation(QWidget*, const QString& caption, const QString& text) override {
        boxes.push_back({QStringLiteral("information"), caption, text});
        if (onBox) onBox();
    }
    void showStyleMissing(const QString& caption, const QString& text) override {
        boxes.push_back({QStringLiteral("style"), caption, text});
        if (onBox) onBox();
    }

    std::vector<Box> boxes;
    std::function<void()> onBox;
};

// A program directory of its own with the executable's path in it.
class ProgramDirectory {
public:
    ProgramDirectory() { dir_.setAutoRemove(true); }

    QString path(const QString& name) const { return dir_.filePath(name); }
    std::u16string programPath() const { return fromQString(path(QStringLiteral("Orvane"))); }

    // UTF-8 with its byte order mark, lines ended by CR LF.
    void write(const QString& name, const QString& text) const {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write("\xEF\xBB\xBF");
        QString crlf = text;
        crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        file.write(crlf.toUtf8());
    }

    QByteArray read(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool exists(const QString& name) const { return QFile::exists(path(name)); }

private:
    QTemporaryDir dir_;
};

// A panel over fakes in its own program directory.
struct PanelWorld {
    ProgramDirectory directory;
    cadlink::fake::FakeAutomationRuntime runtime;
    cadlink::fake::FakeWindowSystem windows;
    RecordingBoxes boxes;
    std::unique_ptr<TForm91> panel;

    TForm91& create() {
        panel = std::make_unique<TForm91>(PanelDependencies{directory.programPath(), runtime, windows, boxes});
        panel->createTargetCADForm();
        return *panel;
    }
};

// Runs action inside the next modal loop, once its window is up. Pending
// events may be processed before the loop starts, so it looks until then.
inline void whenModal(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, action = std::move(action)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start();
}

}  // namespace orvane::ui::testing
