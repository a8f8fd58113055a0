#pragma once
// Boards written as text for tests: 14 lines of 14 characters, '.' for an
// empty cell and '1'..'9' for a pattern. Blanks are ignored, so blocks can be
// set apart for the reader.
#include <QString>
#include <QStringList>

#include "game/rules/Board.h"

inline BoardGrid BoardFromText(const QString& text)
{
    BoardGrid board;
    const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
    int row = 0;
    for (QString line : lines) {
        line.remove(' ');
        if (line.isEmpty())
            continue;
        for (int column = 0; column < line.size() && column < BoardCells; ++column) {
            const QChar ch = line.at(column);
            board.SetCell(column, row, ch == '.' ? 0 : ch.digitValue());
        }
        ++row;
    }
    return board;
}

// "TL BL TR BR" as four digits in the flat order, e.g. "1234".
inline Tile TileFromText(const char* flat)
{
    Tile t{};
    t[0][0] = flat[0] - '0';
    t[0][1] = flat[1] - '0';
    t[1][0] = flat[2] - '0';
    t[1][1] = flat[3] - '0';
    return t;
}

// Block (3,3) empty, above it 1 2, left of it 1 over 2, right of it 2 over 1,
// below it 2 1.
inline constexpr const char* TwoSymbolRing = R"(
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. 22 .. .. ..
.. .. .. 12 .. .. ..
.. .. 21 .. 22 .. ..
.. .. 22 .. 12 .. ..
.. .. .. 21 .. .. ..
.. .. .. 22 .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
)";
