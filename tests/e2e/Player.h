#pragma once
// The moves of a player on the board, each checked on the screen before the
// next one starts: take the next tile, turn it, try it on the places beside
// the tiles already laid, throw it away. Each returns an empty string when
// the screen showed what it should, or what it showed instead.
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <optional>

#include "tests/e2e/GameRun.h"

// Level 1 deals its start tiles in the middle row.
inline const QList<QPoint> StartTiles{{1, 3}, {3, 3}, {5, 3}};
// With one symbol everywhere (TANGRIX_TEST_ONE_SYMBOL) every lay beside a tile
// fits. The square of blocks (0..2, 2..4) around the start tile (1, 3), in an
// order in which every lay touches a tile already there: its last lay wins
// level 1.
inline const QList<QPoint> WinningLays{{0, 3}, {2, 3}, {1, 2}, {1, 4}, {0, 2}, {2, 2}, {0, 4}, {2, 4}};

class ScriptedPlayer {
public:
    // occupied: the blocks that hold a tile (the level's start tiles).
    ScriptedPlayer(GameRun& run, QList<QPoint> occupied);

    // The blocks as they look now; later moves compare against this.
    void LookAtBoard();
    const QList<QPoint>& Occupied() const { return occupied_; }
    QImage BlockImage(const QImage& shot, QPoint block) const;

    // Clicks the preview box with the button and brings the tile to rest
    // over the discard box.
    QString PickUp(int button);
    // One right click; the carried tile must show its quarters moved round
    // anticlockwise (a tile of four equal quarters shows no change).
    QString Turn();
    bool HandIsUniform() const;
    // Tries the carried tile on the empty places beside occupied blocks, in
    // all four turns. The block where it was laid, or none if it fits nowhere
    // (then it is still carried, over the discard box).
    std::optional<QPoint> Lay(QString* error);
    // Brings the carried tile over a place and waits until it shows there,
    // so that a click is known to land on it.
    QString HoldOver(QPoint place);
    // Lays the carried tile, as it is turned, on one place; it must fit.
    QString LayOn(QPoint place);
    // A left click on the discard box: the tile goes, and a new one waits.
    QString ThrowAway();

    QImage EmptyPreview() const { return emptyPreview_; }

private:
    enum class Attempt { Laid, Refused, Failed };
    Attempt TryOn(QPoint place, QString* error);
    QImage HandOverDiscard(const QImage& shot) const;
    QString BringHandToDiscard();
    QList<QPoint> Candidates() const;

    GameRun& run_;
    QList<QPoint> occupied_;
    QList<QImage> blocks_; // 7 x 7, column-major, as last looked at
    QImage emptyPreview_;
    QImage hand_;          // the carried tile over the black discard box
};

// The carried tile after one quarter turn anticlockwise: new top-left = old
// top-right, new top-right = old bottom-right, new bottom-right = old
// bottom-left, new bottom-left = old top-left.
QImage TurnedQuarters(const QImage& hand);
