#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace democad {

// How the demo CAD behaves; the switches exist for the tests.
struct Options {
    QString progId = QStringLiteral("BricscadApp.AcadApplication");
    QString logFile;
    int busyEachCallMs = 0;   // answer RetryLater for this long after a call first arrives
    int busyLifeMs = 0;       // answer RetryLater to everything for this long after start
    bool rejectCalls = false;
    bool notQuiescent = false;
    bool hwndZero = false;
    QSet<QString> lackingMembers;     // served neither way, whatever gives them a value
    QSet<QString> unansweredMembers;  // calls that never get an answer
    QMap<QString, QVariant> extraMethods;     // methods only, the demo's own ones included
    QMap<QString, QVariant> extraProperties;  // also the answer of the demo's own method of that name
    int quitAfterSeconds = 0;
    bool startMinimised = false;
};

// Parses the command line; on a mistake gives the message in error.
Options parseOptions(const QStringList& arguments, QString& error);

// A typed value written "SIG:VALUE" with SIG one of y b n q i u x t d s o g,
// "v:" before another typed value for a variant, "as:a,b" for a string
// array, or "none" for an answer without a value. Invalid when malformed.
QVariant parseTypedValue(const QString& text, bool& valid);

}  // namespace democad
