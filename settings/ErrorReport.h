#pragma once
// How a part of the program that knows nothing of windows tells the player
// that something outside the game went wrong (the settings store, the music
// files). The program wires the standard error box in at start-up; tests put
// a recorder in its place. Every message also goes to the log (stderr),
// whether or not something is wired.
#include <QString>
#include <functional>

void ReportError(const QString& message);

// Replaces the reporter; returns the previous one. An empty reporter restores
// the log.
using ErrorReporter = std::function<void(const QString&)>;
ErrorReporter SetErrorReporter(ErrorReporter reporter);
