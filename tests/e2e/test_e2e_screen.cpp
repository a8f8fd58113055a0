// The real game's board on the real screen against a fresh paint of the same
// state: after a new game, after a won level and after the rocket's new game.
// The game sends the screen only the parts of its canvas that changed, so a
// part it forgets keeps showing an old picture (old symbols under new start
// tiles were such faults). The expected picture is drawn here, by a hidden
// main window of the same size, with the same one-symbol deal, played with
// the same moves, and painted whole on a fresh canvas.
//
// CTest runs it twice: on the bare server, and under a window manager.
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "game/mainform/NullServices.h"
#include "game/rules/RandomSource.h"
#include "game/mainform/main.h"
#include "tests/e2e/GameRun.h"
#include "tests/e2e/Player.h"

namespace {
const QSize ScreenSize{1280, 1024};
constexpr int Patience = 30000;

QString Describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The main window as the game makes it with TANGRIX_TEST_ONE_SYMBOL, never
// shown, at the size of the real one; played by calling its handlers.
class Mirror {
public:
    explicit Mirror(QSize client) : form_(services_, std::make_unique<OneSymbolRandom>())
    {
        form_.SetBackMode(0); // the game's store has no other
        form_.resize(client);
        form_.Resize(); // a hidden window gets no resize event
    }

    // Takes the waiting tile and lays it on the block; the won level's
    // blinking runs to its end, and its message is answered at once.
    void Lay(QPoint block)
    {
        const BoardGeometry& g = form_.Painter().Geometry();
        form_.boxMouseDown(Qt::LeftButton, g.PreviewLeft + g.CellSize, g.PreviewTop + g.CellSize);
        const int x = g.BlockCentreX(block.x());
        const int y = g.BlockCentreY(block.y());
        form_.MouseMove(x, y);
        form_.boxMouseDown(Qt::LeftButton, x, y);
        form_.FinishAnimation();
    }
    // Every question answered yes: the game is given up, a new one dealt.
    void Rocket() { form_.StartBtnClick(); }

    // A fresh full paint of the state; the keyboard focus is given, since
    // who has it is the window manager's decision, not the game's.
    QImage FreshPicture(bool focused) const
    {
        BoardScene scene = form_.Scene();
        scene.focused = focused;
        return form_.Painter().FreshPicture(scene);
    }
    // The time bar runs in the game and stands still here.
    QRect TimeBar() const
    {
        const BoardGeometry& g = form_.Painter().Geometry();
        return {g.PreviewLeft, g.TimeBarTop(), g.BoxSize(), g.CellSize};
    }

private:
    NullServices services_;
    Tmainform form_;
};
} // namespace

class TestEndToEndScreen : public QObject {
    Q_OBJECT

    XDisplay x_;

    // The board canvas as the screen shows it: the client area below the tool strip.
    static QImage ScreenBoard(const GameRun& run)
    {
        const QSize client = run.Main().geometry.size();
        return run.Shot().copy(0, MainLayout::StripHeight, client.width(), client.height() - MainLayout::StripHeight);
    }

    // Waits until the board on the screen is a fresh paint of the mirror's
    // state, with the focus frame or without; pixel for pixel, as both come
    // from the same drawing code, pictures and Qt, and the board shows no
    // text. On a mismatch the pictures and their difference are kept.
    void CheckFresh(GameRun& run, const Mirror& mirror, const QString& step)
    {
        const QList<QRect> leftOut{mirror.TimeBar()};
        const QImage fresh[] = {mirror.FreshPicture(false), mirror.FreshPicture(true)};
        QImage shot;
        const auto differing = [&](const QImage& expected) { return Pixels::Compare(shot, expected, leftOut).pixels; };
        if (Poll([&] {
                shot = ScreenBoard(run);
                return differing(fresh[0]) == 0 || differing(fresh[1]) == 0;
            }))
            return;
        const QImage& nearest = differing(fresh[0]) <= differing(fresh[1]) ? fresh[0] : fresh[1];
        const Pixels::Difference d = Pixels::Compare(shot, nearest, leftOut);
        run.Keep(shot, step + QStringLiteral("-screen"));
        run.Keep(nearest, step + QStringLiteral("-fresh-paint"));
        if (!d.map.isNull())
            run.Keep(d.map, step + QStringLiteral("-difference"));
        QFAIL(qPrintable(QStringLiteral("after %1 the board on the screen (%2x%3) differs from a fresh paint (%4x%5) "
                                        "in %6 pixels within %7 (board canvas pixels); pictures kept")
                             .arg(step)
                             .arg(shot.width())
                             .arg(shot.height())
                             .arg(nearest.width())
                             .arg(nearest.height())
                             .arg(d.pixels)
                             .arg(Describe(d.bounds))));
    }

private slots:
    void initTestCase()
    {
        const QString error = StartDisplay(x_, ScreenSize, QStringLiteral("window-manager-screen.txt"));
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void boardIsAFreshPaint()
    {
        QTemporaryDir store;
        QVERIFY(WriteStore(store.path(), false, false));
        GameRun run(x_, ArtefactFolder(QStringLiteral("fresh-paint")), store.path());
        run.SetEnvironment(QStringLiteral("TANGRIX_TEST_ONE_SYMBOL"), QStringLiteral("1"));
        QString error = run.StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const MainLayout& l = run.Layout();
        run.MoveTo(l.Rest());
        Mirror mirror(run.Main().geometry.size());
        CheckFresh(run, mirror, QStringLiteral("new-game"));
        if (QTest::currentTestFailed())
            return;

        // Level 1 won; its message answered, level 2's start tiles dealt.
        ScriptedPlayer player(run, StartTiles);
        for (const QPoint& place : WinningLays) {
            error = player.PickUp(1);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            if (place != WinningLays.last()) {
                error = player.LayOn(place);
            } else if ((error = player.HoldOver(place)).isEmpty()) {
                // The winning lay: no new tile follows until the message is answered.
                x_.ClickHere(1);
            }
            QVERIFY2(error.isEmpty(), qPrintable(error));
            mirror.Lay(place);
        }
        QVERIFY2(run.WaitForDialog(DialogSize::Message, Patience), "the won level shows no message");
        run.MoveTo(l.Rest());
        x_.Key(QStringLiteral("Return"));
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Message, Patience));
        CheckFresh(run, mirror, QStringLiteral("level-won"));
        if (QTest::currentTestFailed())
            return;

        // The rocket: the game with its points given up, the table's offer of
        // a place for a name accepted, a new game dealt.
        run.Click(l.StartButton());
        run.MoveTo(l.Rest());
        QVERIFY2(run.WaitForDialog(DialogSize::Message, Patience), "the rocket does not ask to give up the game");
        x_.Key(QStringLiteral("y"));
        const auto table = run.WaitForDialog(DialogSize::Highscore, Patience);
        QVERIFY2(table, "the points of the game given up are not offered to the table");
        run.ClickIn(*table, {285, 441});
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Highscore, Patience));
        mirror.Rocket();
        CheckFresh(run, mirror, QStringLiteral("rocket"));
        if (QTest::currentTestFailed())
            return;
        run.Keep(run.Shot(), QStringLiteral("after-rocket"));
    }
};

QTEST_MAIN(TestEndToEndScreen)
#include "test_e2e_screen.moc"
