#include "tests/e2e/Player.h"

#include <cstdlib>

namespace {
constexpr int Blocks = 7;

int Index(QPoint block)
{
    return block.x() * Blocks + block.y();
}

void CopyQuarter(const QImage& from, QPoint source, QImage& to, QPoint target, int c)
{
    for (int y = 0; y < c; ++y)
        for (int x = 0; x < c; ++x)
            to.setPixel(target.x() + x, target.y() + y, from.pixel(source.x() + x, source.y() + y));
}
} // namespace

QImage TurnedQuarters(const QImage& hand)
{
    const int c = hand.width() / 2;
    QImage out(hand.size(), QImage::Format_RGB32);
    CopyQuarter(hand, {c, 0}, out, {0, 0}, c); // top-right to top-left
    CopyQuarter(hand, {c, c}, out, {c, 0}, c); // bottom-right to top-right
    CopyQuarter(hand, {0, c}, out, {c, c}, c); // bottom-left to bottom-right
    CopyQuarter(hand, {0, 0}, out, {0, c}, c); // top-left to bottom-left
    return out;
}

static QImage WithoutCarriedLine(const QImage& hand)
{
    // The line round a carried tile stays where it is when the tile turns;
    // the quarters are compared inside it and away from where they meet.
    const int c = hand.width() / 2;
    const int line = 2;
    QImage out = hand.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const bool edge = x < line || y < line || x >= out.width() - line || y >= out.height() - line;
            const bool seam = std::abs(x - c) < line || std::abs(y - c) < line;
            if (edge || seam)
                out.setPixel(x, y, 0xFF000000u);
        }
    return out;
}

ScriptedPlayer::ScriptedPlayer(GameRun& run, QList<QPoint> occupied) : run_(run), occupied_(std::move(occupied))
{
    LookAtBoard();
}

QImage ScriptedPlayer::BlockImage(const QImage& shot, QPoint block) const
{
    return shot.copy(run_.Layout().Block(block.x(), block.y()));
}

void ScriptedPlayer::LookAtBoard()
{
    const QImage shot = run_.Shot();
    blocks_.clear();
    for (int column = 0; column < Blocks; ++column)
        for (int row = 0; row < Blocks; ++row)
            blocks_.append(BlockImage(shot, {column, row}));
}

QImage ScriptedPlayer::HandOverDiscard(const QImage& shot) const
{
    return shot.copy(run_.Layout().HandOverDiscard());
}

QString ScriptedPlayer::BringHandToDiscard()
{
    const MainLayout& l = run_.Layout();
    run_.MoveTo(l.DiscardCentre());
    // The same picture twice in a row: a shot taken while the game was still
    // painting the tile in would make a wrong picture of the hand.
    QImage hand;
    if (!Poll([&] {
            const QImage shot = run_.Shot();
            const QImage seen = HandOverDiscard(shot);
            const bool settled = Pixels::BlackShare(shot, l.HandOverDiscard()) < 0.9 && Pixels::Same(seen, hand);
            hand = seen;
            return settled;
        }))
        return QStringLiteral("the carried tile does not follow the pointer to the discard box");
    hand_ = hand;
    return {};
}

QString ScriptedPlayer::PickUp(int button)
{
    const MainLayout& l = run_.Layout();
    const QImage before = run_.Shot().copy(l.Preview());
    if (Pixels::BlackShare(run_.Shot(), l.HandOverDiscard()) < 0.95)
        return QStringLiteral("the discard box is not empty before the tile is taken");
    run_.Click(l.PreviewCentre(), button);
    if (QString e = BringHandToDiscard(); !e.isEmpty())
        return e;
    const QImage shot = run_.Shot();
    emptyPreview_ = shot.copy(l.Preview());
    if (Pixels::Same(emptyPreview_, before))
        return QStringLiteral("the preview box still shows the tile that was taken");
    // Taking a tile changes nothing on the board.
    for (int column = 0; column < Blocks; ++column)
        for (int row = 0; row < Blocks; ++row)
            if (!Pixels::Same(BlockImage(shot, {column, row}), blocks_[Index({column, row})]))
                return QStringLiteral("taking the tile changed block (%1,%2)").arg(column).arg(row);
    return {};
}

bool ScriptedPlayer::HandIsUniform() const
{
    return Pixels::Same(WithoutCarriedLine(TurnedQuarters(hand_)), WithoutCarriedLine(hand_));
}

QString ScriptedPlayer::Turn()
{
    const QImage expected = WithoutCarriedLine(TurnedQuarters(hand_));
    run_.X().ClickHere(3);
    QImage now;
    if (!Poll([&] { return Pixels::Same(WithoutCarriedLine(now = HandOverDiscard(run_.Shot())), expected); }, 15000)) {
        run_.Keep(hand_, QStringLiteral("hand-before-turn"));
        run_.Keep(now, QStringLiteral("hand-after-turn"));
        return QStringLiteral("the right button did not turn the tile a quarter anticlockwise");
    }
    hand_ = now;
    return {};
}

QList<QPoint> ScriptedPlayer::Candidates() const
{
    QList<QPoint> places;
    for (const QPoint& o : occupied_)
        for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) {
            const QPoint p = o + d;
            if (p.x() >= 0 && p.x() < Blocks && p.y() >= 0 && p.y() < Blocks && !occupied_.contains(p) &&
                !places.contains(p))
                places.append(p);
        }
    return places;
}

QString ScriptedPlayer::HoldOver(QPoint place)
{
    run_.MoveTo(run_.Layout().BlockCentre(place.x(), place.y()));
    if (!Poll([&] { return !Pixels::Same(BlockImage(run_.Shot(), place), blocks_[Index(place)]); }))
        return QStringLiteral("the carried tile does not follow the pointer to block (%1,%2)")
            .arg(place.x())
            .arg(place.y());
    return {};
}

ScriptedPlayer::Attempt ScriptedPlayer::TryOn(QPoint place, QString* error)
{
    const MainLayout& l = run_.Layout();
    if (QString e = HoldOver(place); !e.isEmpty()) {
        *error = e;
        return Attempt::Failed;
    }
    const QImage scoreBefore = run_.Shot().copy(l.ScoreCounter());
    run_.X().ClickHere(1);
    run_.MoveTo(l.DiscardCentre());
    QImage shot;
    bool laid = false;
    if (!Poll([&] {
            shot = run_.Shot();
            laid = !Pixels::Same(shot.copy(l.Preview()), emptyPreview_);
            return laid || Pixels::Same(HandOverDiscard(shot), hand_);
        })) {
        *error = QStringLiteral("after a click on block (%1,%2) the tile is neither laid nor still carried")
                     .arg(place.x())
                     .arg(place.y());
        return Attempt::Failed;
    }
    if (!laid) {
        // Refused: the place looks as it did.
        if (!Pixels::Same(BlockImage(shot, place), blocks_[Index(place)])) {
            *error = QStringLiteral("a refused lay changed block (%1,%2)").arg(place.x()).arg(place.y());
            return Attempt::Failed;
        }
        return Attempt::Refused;
    }
    // Laid: the tile shows on its place, nowhere else, the discard box is
    // empty, a new tile waits and the score has changed.
    if (!Poll([&] {
            shot = run_.Shot();
            return !Pixels::Same(shot.copy(l.ScoreCounter()), scoreBefore);
        })) {
        *error = QStringLiteral("a tile was laid but the score stayed as it was");
        return Attempt::Failed;
    }
    for (int column = 0; column < Blocks; ++column)
        for (int row = 0; row < Blocks; ++row) {
            const bool changed = !Pixels::Same(BlockImage(shot, {column, row}), blocks_[Index({column, row})]);
            if (changed != (QPoint(column, row) == place)) {
                *error = QStringLiteral("after laying on (%1,%2) block (%3,%4) %5")
                             .arg(place.x())
                             .arg(place.y())
                             .arg(column)
                             .arg(row)
                             .arg(changed ? QStringLiteral("changed") : QStringLiteral("did not change"));
                return Attempt::Failed;
            }
        }
    if (Pixels::BlackShare(shot, l.HandOverDiscard()) < 0.95) {
        *error = QStringLiteral("the laid tile is still shown over the discard box");
        return Attempt::Failed;
    }
    occupied_.append(place);
    LookAtBoard();
    return Attempt::Laid;
}

std::optional<QPoint> ScriptedPlayer::Lay(QString* error)
{
    for (int turn = 0; turn < 4; ++turn) {
        for (const QPoint& place : Candidates()) {
            switch (TryOn(place, error)) {
            case Attempt::Laid:
                return place;
            case Attempt::Failed:
                return std::nullopt;
            case Attempt::Refused:
                break;
            }
        }
        if (QString e = Turn(); !e.isEmpty()) {
            *error = e;
            return std::nullopt;
        }
    }
    return std::nullopt;
}

QString ScriptedPlayer::LayOn(QPoint place)
{
    QString error;
    if (TryOn(place, &error) == Attempt::Refused)
        return QStringLiteral("the lay on block (%1,%2) was refused").arg(place.x()).arg(place.y());
    return error;
}

QString ScriptedPlayer::ThrowAway()
{
    const MainLayout& l = run_.Layout();
    const QImage scoreBefore = run_.Shot().copy(l.ScoreCounter());
    run_.Click(l.DiscardCentre(), 1);
    QImage shot;
    if (!Poll([&] {
            shot = run_.Shot();
            return !Pixels::Same(shot.copy(l.Preview()), emptyPreview_) &&
                   Pixels::BlackShare(shot, l.HandOverDiscard()) > 0.95;
        }))
        return QStringLiteral("throwing the tile away did not empty the discard box and deal a new tile");
    if (!Poll([&] { return !Pixels::Same(run_.Shot().copy(l.ScoreCounter()), scoreBefore); }))
        return QStringLiteral("throwing a tile away left the score as it was");
    for (int column = 0; column < Blocks; ++column)
        for (int row = 0; row < Blocks; ++row)
            if (!Pixels::Same(BlockImage(shot, {column, row}), blocks_[Index({column, row})]))
                return QStringLiteral("throwing a tile away changed block (%1,%2)").arg(column).arg(row);
    return {};
}
