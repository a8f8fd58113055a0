#include "game/mainform/BoardDescription.h"

#include <QStringList>

#include "assets/SymbolNames.h"
#include "game/flow/GameFlow.h"

namespace {

class Words {
public:
    explicit Words(bool german) : german_(german) {}

    QString operator()(const char* german, const char* english) const
    {
        return QString::fromUtf8(german_ ? german : english);
    }
    QString Symbol(int image) const { return SymbolName(image, german_); }
    QString Pair(int first, int second) const
    {
        return (*this)("%1 und %2", "%1 and %2").arg(Symbol(first), Symbol(second));
    }

    // A tile's four quarters in reading order: the top two, then the bottom two.
    QString Tile(const ::Tile& t) const
    {
        if (t[0][0] == t[1][0] && t[0][0] == t[0][1] && t[0][0] == t[1][1])
            return (*this)("viermal %1", "four times %1").arg(Symbol(t[0][0]));
        return (*this)("oben %1, unten %2", "top %1, bottom %2").arg(Pair(t[0][0], t[1][0]), Pair(t[0][1], t[1][1]));
    }

private:
    bool german_;
};

using Cells = decltype(BoardScene::cells);

// The quarters of the tiles around a block that touch it, as the rules compare them.
QString Neighbours(const Words& w, const Cells& cells, BlockPos b)
{
    const int c = 2 * b.column;
    const int r = 2 * b.row;
    QStringList sides;
    const auto side = [&](bool exists, const char* german, const char* english, int column1, int row1, int column2,
                          int row2) {
        if (exists && cells[column1][row1] != 0)
            sides << w(german, english) + u' ' + w.Pair(cells[column1][row1], cells[column2][row2]);
    };
    side(b.row > 0, "oben", "above", c, r - 1, c + 1, r - 1);
    side(b.column > 0, "links", "left", c - 1, r, c - 1, r + 1);
    side(b.column < BoardBlocks - 1, "rechts", "right", c + 2, r, c + 2, r + 1);
    side(b.row < BoardBlocks - 1, "unten", "below", c, r + 2, c + 1, r + 2);
    if (sides.isEmpty())
        return w("Nichts daneben.", "Nothing next to it.");
    return w("Daneben: %1.", "Next to it: %1.").arg(sides.join(QStringLiteral("; ")));
}

QString Hand(const Words& w, const GameFlow& flow, const BoardScene& scene)
{
    const BoardScene::Hand& hand = *scene.hand;
    const BoardGeometry& g = flow.Geometry();
    QStringList parts;
    if (flow.RefusedWhereItIs())
        parts << w("Passt hier nicht.", "Does not fit here.");
    if (g.InDiscard(hand.x, hand.y)) {
        parts << w("Stein in der Hand über dem Abwurfkasten: %1.", "Tile in hand over the discard box: %1.")
                     .arg(w.Tile(hand.tile));
    } else if (!g.OnBoard(hand.x, hand.y)) {
        parts << w("Stein in der Hand neben dem Spielfeld: %1.", "Tile in hand beside the board: %1.")
                     .arg(w.Tile(hand.tile));
    } else {
        const BlockPos b = flow.AimedBlock();
        parts << w("Stein in der Hand auf Spalte %1, Reihe %2: %3.", "Tile in hand on column %1, row %2: %3.")
                     .arg(b.column + 1)
                     .arg(b.row + 1)
                     .arg(w.Tile(hand.tile));
        if (scene.cells[2 * b.column][2 * b.row] != 0)
            parts << w("Der Platz ist belegt.", "The place is taken.");
        else
            parts << Neighbours(w, scene.cells, b);
    }
    return parts.join(u' ');
}

} // namespace

QString DescribeBoard(const GameFlow& flow, bool german)
{
    const Words w(german);
    const GameCore& game = flow.Game();
    const BoardScene scene = flow.Scene();
    QStringList parts;

    const auto& animation = flow.Animation();
    if (game.GameState() == TGameState::gsPaused) {
        parts << w("Spiel angehalten, das Spielfeld ist verdeckt.", "Game paused, the board is hidden.");
    } else if (game.GameState() == TGameState::gsOver) {
        parts << w("Das Spiel ist aus.", "The game is over.");
    } else if (animation && animation->kind == FlowAnimation::Kind::LevelWon) {
        parts << w("Quadrat voll, Stufe geschafft!", "Square covered, level won!");
    } else if (animation && animation->kind == FlowAnimation::Kind::ThrowAway) {
        parts << w("Stein weggeworfen.", "Tile thrown away.");
    } else if (scene.hand) {
        parts << Hand(w, flow, scene);
    }

    // The next tile waits in the preview box while none is in hand; during an
    // animation the box is about to change.
    if (game.GameState() != TGameState::gsPaused && !scene.hand && !animation) {
        if (IsEmpty(scene.preview))
            parts << w("Der Vorschaukasten ist leer.", "The preview box is empty.");
        else
            parts << w("Nächster Stein: %1.", "Next tile: %1.").arg(w.Tile(scene.preview));
    }
    parts << w("Stufe %1, Punkte %2.", "Level %1, score %2.").arg(game.Level()).arg(game.Score());
    return parts.join(u' ');
}
