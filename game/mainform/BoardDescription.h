#pragma once
// The board in words, for players who hear it through a screen reader: what
// a player sees there now. The part that changes with a key comes first (a
// refused lay, where the tile in hand is, what it shows, what touches that
// place), then the next tile, then the level and the score. Like the picture,
// it is a function of the flow's state.
#include <QString>

class GameFlow;

QString DescribeBoard(const GameFlow& flow, bool german);
