#pragma once
// The help layer's optional trace, "HHDebug.txt" beside the program: the one
// log this game keeps, for finding out why help does not come up on a
// player's machine. Switched on by "/debug" or "-debug" on the command line
// or by a file "debug.debug" beside the program.
#include <QString>
#include <QStringList>

// What the header reports about the help viewer and the HTML renderer.
struct HelpTraceFacts {
    bool viewerInstalled = false;
    QString viewerVersion;
    QString viewerFriendlyVersion;
    bool browserInstalled = false;
    QString browserVersion;
    QString browserFriendlyVersion;
};

// Deletes a trace left by an earlier run, decides whether to trace, and if so
// starts the file with its header. `args` are the program's arguments, the
// program's own path first. Safe to call again (the trace starts afresh).
void InitHelpTrace(const QStringList& args, const QString& programDir, const HelpTraceFacts& facts);

bool HelpTraceOn();
// Where the trace goes (also when tracing is off: where it would go).
QString HelpTraceFile();

// Appends one line: the time of day, three blanks, the text. A text starting
// with "!", "-" or "=" is written without the time and without that
// character; a text that is just "-" or "=" becomes a rule of 80 of them.
void DebugOut(const QString& text);
