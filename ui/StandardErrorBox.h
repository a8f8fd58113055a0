#pragma once
// The standard error box: a modal message over the active window, the
// program's way of telling the player that something outside the game went
// wrong. The program hands it to the parts below the windows as their error
// reporter.
#include <QString>

void ShowStandardError(const QString& message);
