#pragma once
// The game's own background music: three calm pieces for the puzzle.
#include "tools/midigen/Arranger.h"

#include <vector>

std::vector<Piece> GamePieces();
