#pragma once
// The program's one way of telling the player that something outside the game
// went wrong (settings store, music device): a standard error box with the
// message. Tests replace the box by a recorder so that nothing blocks.
#include <QString>
#include <functional>

void ShowStandardError(const QString& message);

// Replaces the box; returns the previous handler. An empty handler restores
// the box.
using StandardErrorHandler = std::function<void(const QString&)>;
StandardErrorHandler SetStandardErrorHandler(StandardErrorHandler handler);
