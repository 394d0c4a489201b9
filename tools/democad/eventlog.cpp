#include "tools/democad/eventlog.h"

namespace democad {

EventLog::EventLog(const QString& path) : file_(path) {
    if (!path.isEmpty()) {
        file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    }
}

void EventLog::write(const QString& line) {
    if (!file_.isOpen()) {
        return;
    }
    file_.write((line + u'\n').toUtf8());
    file_.flush();
}

QString escapedText(const QString& text) {
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            } else {
                out += c;
            }
        }
    }
    return out;
}

}  // namespace democad
