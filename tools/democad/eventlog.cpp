#include "tools/democad/eventlog.h"

#include "tools/democad/commandtext.h"

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
    const std::u16string escaped = escapedCommandText(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    return QString::fromUtf16(escaped.data(), static_cast<qsizetype>(escaped.size()));
}

}  // namespace democad
