#pragma once
// The folder that holds a user's configuration files on systems without a
// registry: $XDG_CONFIG_HOME when it names an absolute path, otherwise
// ~/.config. A relative or empty XDG_CONFIG_HOME is ignored, as the XDG base
// directory rules ask: it would put the store wherever the game happened to
// be started from.
#include <QString>

QString UserConfigHome();
