#pragma once

#include <QFile>
#include <QString>

namespace democad {

// One line per event, flushed at once, so a test can read along.
class EventLog {
public:
    explicit EventLog(const QString& path);
    bool isOpen() const { return file_.isOpen(); }
    void write(const QString& line);

private:
    QFile file_;
};

// The text with backslash, CR, LF, TAB and other control characters written
// as escapes, so a line of the log holds it whole.
QString escapedText(const QString& text);

}  // namespace democad
