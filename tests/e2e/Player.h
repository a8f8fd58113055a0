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

class TPlayer {
public:
    // occupied: the blocks that hold a tile (the level's start tiles).
    TPlayer(TGameRun& run, QList<QPoint> occupied);

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

    TGameRun& run_;
    QList<QPoint> occupied_;
    QList<QImage> blocks_; // 7 x 7, column-major, as last looked at
    QImage emptyPreview_;
    QImage hand_;          // the carried tile over the black discard box
};

// The carried tile after one quarter turn anticlockwise: new top-left = old
// top-right, new top-right = old bottom-right, new bottom-right = old
// bottom-left, new bottom-left = old top-left.
QImage TurnedQuarters(const QImage& hand);
