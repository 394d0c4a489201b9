#include "ui/qt/theme.h"

#include <QApplication>
#include <QFile>
#include <QMetaEnum>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTextStream>

#include <array>
#include <optional>

#include "ui/qt/boxes.h"

// Resources of a static library are registered by name from the outside,
// once per process.
static void registerResources() {
    static bool registered = false;
    if (!registered) {
        Q_INIT_RESOURCE(orvane);
        registered = true;
    }
}

namespace orvane::ui {

namespace {

QString stylePath(const QString& name, const char* extension) {
    return QStringLiteral(":/orvane/styles/") + name + QLatin1String(extension);
}

std::optional<QPalette::ColorGroup> groupNamed(QStringView name) {
    if (name == u"Active") return QPalette::Active;
    if (name == u"Inactive") return QPalette::Inactive;
    if (name == u"Disabled") return QPalette::Disabled;
    return std::nullopt;
}

// Lines "Role=#rrggbb" for every group, "Group.Role=#rrggbb" for one.
std::optional<QPalette> readPalette(const QString& path, QPalette palette) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return std::nullopt;
    }
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        const qsizetype equals = line.indexOf(u'=');
        if (line.isEmpty() || line.startsWith(u'#') || equals < 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        const QColor colour = QColor::fromString(line.mid(equals + 1).trimmed());
        const qsizetype dot = key.indexOf(u'.');
        const QString roleName = dot < 0 ? key : key.mid(dot + 1);
        bool known = false;
        const int role = roles.keyToValue(roleName.toLatin1().constData(), &known);
        if (!known || !colour.isValid()) {
            continue;
        }
        if (dot < 0) {
            palette.setColor(static_cast<QPalette::ColorRole>(role), colour);
        } else if (const auto group = groupNamed(QStringView(key).left(dot))) {
            palette.setColor(*group, static_cast<QPalette::ColorRole>(role), colour);
        }
    }
    return palette;
}

}  // namespace

bool applyVisualStyle(const QString& name) {
    registerResources();
    QFile sheet(stylePath(name, ".qss"));
    if (!sheet.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    // Fusion draws every control from the palette, so the palette is the theme.
    QStyle* base = QStyleFactory::create(QStringLiteral("Fusion"));
    const std::optional<QPalette> palette =
        readPalette(stylePath(name, ".palette"), base != nullptr ? base->standardPalette() : QPalette());
    if (!palette) {
        delete base;
        return false;
    }
    if (base != nullptr) {
        QApplication::setStyle(base);
    }
    QApplication::setPalette(*palette);
    qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
    return true;
}

void applyVisualStyleOrReport(const QString& name, MessageBoxes& boxes, const QString& caption) {
    if (!applyVisualStyle(name)) {
        boxes.showStyleMissing(caption, QStringLiteral("スタイル '%1' が見つかりません").arg(name));
    }
}

QIcon applicationIcon() {
    registerResources();
    static constexpr std::array kSizes{16, 20, 24, 30, 32, 36, 40, 48, 60, 64, 72, 80, 96, 128, 256};
    QIcon icon;
    for (const int size : kSizes) {
        icon.addFile(QStringLiteral(":/orvane/icons/orvane-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

void installApplicationIcon() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QApplication::setWindowIcon(applicationIcon());
    }
}

}  // namespace orvane::ui
