// Self-play through the main window's own handlers: random presses on the
// board, the preview and the discard box with all three buttons, moves,
// keys, turns, pauses, new games, background and language switches, resizes,
// the other buttons, close questions and restarts, with clock ticks fed fast,
// and all of them also while an animation runs. After every single event the
// game's invariants are checked, the score offered to the table is the
// game's, and the canvas is exactly what a fresh paint of the state draws.
//
// TANGRIX_SOAK_GAMES (default 3) games are played to their time-out;
// TANGRIX_SOAK_SEED picks the random sequence (default fixed). tools/soak.sh
// runs a long soak under AddressSanitizer and UndefinedBehaviorSanitizer.
#include <QElapsedTimer>
#include <QtTest>

#include <memory>
#include <optional>
#include <random>

#include "game/mainform/CanvasGeometryQt.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"
#include "tests/soak/GameInvariants.h"
#include "tests/soak/SoakServices.h"

namespace {

int EnvironmentNumber(const char* name, int def)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : def;
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void playManyGames();

private:
    const GameCore& Game() { return form_->Game(); }
    const BoardGeometry& Geo() { return form_->Painter().Geometry(); }
    int Chance(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool OneIn(int n) { return Chance(n) == 0; }

    void StartProgram();
    // The close question was answered Yes; left: the window has closed itself.
    void Restart(bool left);

    // One event, then every check.
    void Event(const char* what, const std::function<void()>& action);
    void Check(const char* what, const GameSnapshot& before);

    void Press(Qt::MouseButton button, int x, int y);
    void Key(Qt::Key key);
    // A close confirmed after an animation closes the window from the event loop.
    bool ClosedByItself();
    Qt::MouseButton AnyButton();
    QPoint AnyPoint();
    QPoint PreviewCentre() { return ToQPoint(Geo().PreviewCentre()); }
    QPoint DiscardCentre() { return ToQPoint(Geo().DiscardCentre()); }

    void RandomEvent();
    // Turns the carried tile until it fits somewhere and lays it where it
    // brings a 3 x 3 square closest to complete; throws it away if it fits
    // nowhere.
    void PlayWell();
    std::optional<BlockPos> BestAcceptedBlock();

    std::mt19937 random_;
    std::unique_ptr<SoakServices> services_;
    std::unique_ptr<Tmainform> form_;
    bool previewMayBeEmpty_ = false;
    int steps_ = 1; // the events one event may handle: itself and what waited
    bool failed_ = false;

    int gamesFinished_ = 0;
    long long events_ = 0;
    int levelsWon_ = 0;
    int highestLevel_ = 1;
    int restarts_ = 0;
};

void SoakTest::initTestCase()
{
    const int seed = EnvironmentNumber("TANGRIX_SOAK_SEED", 20240611);
    qInfo("seed %d", seed);
    random_.seed(std::uint32_t(seed));
    services_ = std::make_unique<SoakServices>(random_);
    services_->currentScore = [this] { return Game().Score(); };
    Tongue = 0;
    StartProgram();
}

void SoakTest::cleanupTestCase()
{
    form_.reset();
}

void SoakTest::StartProgram()
{
    form_ = std::make_unique<Tmainform>(*services_, std::make_unique<UniformRandom>(random_()));
    form_->resize(701, 462);
    form_->show();
    // The real clock must not tick behind the soak's back: ticks are events.
    form_->Timer.stop();
    form_->FormShow();
    // What the start-up dealt is checked like any later state.
    previewMayBeEmpty_ = false;
    Check("start-up", GameSnapshot::Of(Game()));
}

void SoakTest::Restart(bool left)
{
    // The close question was answered with Yes: the window closes as the
    // program's would, and a new run starts with the settings it wrote.
    const int backMode = form_->BackMode();
    const int tongue = Tongue;
    if (!left)
        form_->Leave();
    form_->hide();
    form_.reset();
    Tongue = 5; // what the new run reads must come from the store
    StartProgram();
    ++restarts_;
    QCOMPARE(form_->BackMode(), backMode);
    QCOMPARE(Tongue, tongue);
}

void SoakTest::Event(const char* what, const std::function<void()>& action)
{
    if (failed_)
        return;
    const GameSnapshot before = GameSnapshot::Of(Game());
    const int gameOvers = services_->gameOverMessages;
    steps_ = 1 + form_->Flow().Waiting();
    action();
    ++events_;
    if (services_->gameOverMessages > gameOvers) {
        ++gamesFinished_;
        qInfo("game %d over at level %d with %d points; %lld events", gamesFinished_, Game().Level(), Game().Score(),
              events_);
    }
    if (form_)
        Check(what, before);
}

void SoakTest::Check(const char* what, const GameSnapshot& before)
{
    const GameCore& game = Game();
    const GameSnapshot after = GameSnapshot::Of(game);
    if (after.state == TGameState::gsOver && before.state != TGameState::gsOver && before.inHand)
        previewMayBeEmpty_ = true;
    if (after.state == TGameState::gsReady && after.score == 0 && after.level == 1)
        previewMayBeEmpty_ = false;
    if (after.level > before.level) {
        ++levelsWon_;
        highestLevel_ = std::max(highestLevel_, after.level);
    }

    QString broken = BrokenInvariant(game, previewMayBeEmpty_);
    if (broken.isEmpty())
        broken = BrokenStep(before, after, steps_);
    const bool clockShouldRun = after.state == TGameState::gsReady || after.state == TGameState::gsRunning;
    // (A close that gives the game up leaves it to the closing to stop.)
    const bool closing = QLatin1String(what) == QLatin1String("close question");
    if (broken.isEmpty() && after.state == TGameState::gsOver && form_->Timer.isActive() && !closing)
        broken = QStringLiteral("the clock still runs after the game is over");
    if (broken.isEmpty() && clockShouldRun && before.state == TGameState::gsOver && !form_->Timer.isActive())
        broken = QStringLiteral("a new game without a running clock");
    if (broken.isEmpty() && !closing && form_->Timer.isActive() != form_->Flow().ClockRunning())
        broken = QStringLiteral("the clock's timer does not follow the game");
    if (broken.isEmpty() && form_->box->Canvas().Image() != form_->Painter().FreshPicture(form_->Scene()))
        broken = QStringLiteral("the canvas differs from a fresh paint of the state");
    // (Giving up by closing ends the game with the tile in hand, but the
    // window closes with it.)
    if (broken.isEmpty() && after.state == TGameState::gsOver && before.state != TGameState::gsOver &&
        after.inHand && QLatin1String(what) == QLatin1String("tick"))
        broken = QStringLiteral("the carried tile outlives the time-out");
    if (broken.isEmpty() && !services_->misuse.isEmpty())
        broken = services_->misuse.join(QStringLiteral(", "));
    if (!broken.isEmpty()) {
        failed_ = true;
        QFAIL(qPrintable(QStringLiteral("after event %1 (%2): %3").arg(events_).arg(QLatin1String(what), broken)));
    }
}

void SoakTest::Press(Qt::MouseButton button, int x, int y)
{
    // Half through the widget's own mouse events, half straight to the handler.
    if (OneIn(2) && form_->box->rect().contains(x, y))
        QTest::mousePress(form_->box, button, {}, QPoint(x, y));
    else
        form_->boxMouseDown(button, x, y);
}

void SoakTest::Key(Qt::Key key)
{
    form_->boxKeyDown(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
}

Qt::MouseButton AnyButtonOf(int n)
{
    return n == 0 ? Qt::LeftButton : n == 1 ? Qt::RightButton : Qt::MiddleButton;
}

Qt::MouseButton SoakTest::AnyButton()
{
    return AnyButtonOf(Chance(3));
}

QPoint SoakTest::AnyPoint()
{
    // Mostly on the board and the side column, sometimes anywhere around them.
    const int w = form_->box->width();
    const int h = form_->box->height();
    return {std::uniform_int_distribution<int>(-20, w + 20)(random_),
            std::uniform_int_distribution<int>(-20, h + 20)(random_)};
}

std::optional<BlockPos> SoakTest::BestAcceptedBlock()
{
    std::optional<BlockPos> best;
    int bestFilled = -1;
    for (int bc = 0; bc < BoardBlocks; ++bc) {
        for (int br = 0; br < BoardBlocks; ++br) {
            const BlockPos b{bc, br};
            if (!Game().AcceptedBalance(b))
                continue;
            // The fullest 3 x 3 square this block belongs to.
            int filled = 0;
            for (int sc = std::max(0, bc - 2); sc <= std::min(4, bc); ++sc)
                for (int sr = std::max(0, br - 2); sr <= std::min(4, br); ++sr) {
                    int n = 0;
                    for (int dc = 0; dc < 3; ++dc)
                        for (int dr = 0; dr < 3; ++dr)
                            n += !Game().Board().BlockEmpty({sc + dc, sr + dr});
                    filled = std::max(filled, n);
                }
            if (filled > bestFilled) {
                bestFilled = filled;
                best = b;
            }
        }
    }
    return best;
}

void SoakTest::PlayWell()
{
    if (!Game().AcceptsPresses() || form_->Flow().Busy())
        return;
    if (!Game().InHand()) {
        Event("pick up", [&] { Press(AnyButton(), PreviewCentre().x(), PreviewCentre().y()); });
        if (failed_ || !Game().InHand())
            return;
    }
    for (int turn = 0; turn < 4 && !failed_; ++turn) {
        if (const auto block = BestAcceptedBlock()) {
            Event("good lay", [&] { Press(Qt::LeftButton, Geo().BlockCentreX(block->column), Geo().BlockCentreY(block->row)); });
            return;
        }
        Event("turn", [&] { Press(Qt::RightButton, form_->box->width() / 2, form_->box->height() / 2); });
    }
    Event("throw away", [&] { Press(Qt::LeftButton, DiscardCentre().x(), DiscardCentre().y()); });
}

void SoakTest::RandomEvent()
{
    // While an animation runs, events keep coming; they wait for its end.
    if (form_->Flow().Animation() && OneIn(3)) {
        Event("animation to its end", [&] { form_->FinishAnimation(); });
        return;
    }
    const int pick = Chance(104);
    if (pick < 35) {
        PlayWell();
    } else if (pick < 50) {
        const QPoint p = AnyPoint();
        Event("press anywhere", [&] { Press(AnyButton(), p.x(), p.y()); });
    } else if (pick < 58) {
        Event("press preview", [&] { Press(AnyButton(), PreviewCentre().x(), PreviewCentre().y()); });
    } else if (pick < 68) {
        const QPoint p = AnyPoint();
        Event("move", [&] {
            if (OneIn(2))
                QTest::mouseMove(form_->box, p);
            form_->MouseMove(p.x(), p.y());
        });
    } else if (pick < 72) {
        Event("press discard", [&] { Press(AnyButton(), DiscardCentre().x(), DiscardCentre().y()); });
    } else if (pick < 76) {
        Event("pause", [&] { form_->PauseBtnClick(); });
    } else if (pick < 78) {
        Event("start", [&] { form_->StartBtnClick(); });
    } else if (pick < 81) {
        Event("background", [&] {
            form_->SetBackMode((form_->BackMode() + 1) % 7);
            form_->Resize();
        });
    } else if (pick < 84) {
        Event("language", [&] {
            Tongue = Tongue == 1 ? 0 : 1;
            form_->ApplyLanguage();
        });
    } else if (pick < 87) {
        const int w = std::uniform_int_distribution<int>(640, 1400)(random_);
        const int h = std::uniform_int_distribution<int>(480, 1000)(random_);
        Event("resize", [&] {
            form_->resize(w, h);
            form_->Resize();
        });
    } else if (pick < 92) {
        Event("button", [&] {
            switch (Chance(4)) {
            case 0: form_->HighScoreBtnClick(); break;
            case 1: form_->OptionBtnClick(); break;
            case 2: form_->InfoBtnClick(); break;
            default: form_->RulesBtnClick(); break;
            }
        });
    } else if (pick < 93) {
        bool closes = false;
        Event("close question", [&] { closes = form_->CloseQuery(); });
        if (closes && !failed_)
            Restart(false);
    } else if (pick < 100) {
        Event("repaint", [&] {
            form_->Paint();
            form_->ToolBoxPaint();
        });
    } else {
        static const Qt::Key keys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Left, Qt::Key_Right,
                                       Qt::Key_Up,    Qt::Key_Down,   Qt::Key_R,    Qt::Key_Delete};
        const Qt::Key key = keys[Chance(int(std::size(keys)))];
        Event("key", [&] { Key(key); });
    }
    if (ClosedByItself())
        Restart(true);
}

bool SoakTest::ClosedByItself()
{
    if (failed_ || !form_->Flow().Closed())
        return false;
    QSignalSpy closed(form_.get(), &Tmainform::Closed);
    if (!closed.wait(5000)) {
        failed_ = true;
        qWarning("a confirmed close did not close the window");
        return false;
    }
    return true;
}

void SoakTest::playManyGames()
{
    const int games = EnvironmentNumber("TANGRIX_SOAK_GAMES", 3);
    // A game lasts a few thousand events; this bound only stops a game that
    // never ends from hanging the test.
    const long long eventLimit = 20000LL * games;
    QElapsedTimer clock;
    clock.start();

    while (gamesFinished_ < games && !failed_) {
        QVERIFY2(events_ < eventLimit, "the games do not come to an end");
        if (Game().GameState() == TGameState::gsOver && !form_->Flow().Busy()) {
            Event("new game", [&] { form_->StartBtnClick(); });
            continue;
        }
        RandomEvent();
        // Clock ticks, fed faster than the real clock, and faster on every
        // level, so that even good play runs out of time after a few levels.
        const int ticks = Chance(4 + 4 * std::min(Game().Level(), 10));
        for (int t = 0; t < ticks && !failed_ && Game().GameState() != TGameState::gsOver; ++t)
            Event("tick", [&] { form_->TimerTimer(); });
        if (ClosedByItself())
            Restart(true);
    }
    QVERIFY(!failed_);
    QCOMPARE(services_->gameOverMessages, gamesFinished_);
    qInfo("%d games to time-out, %lld events, %d levels won (highest level %d), %d restarts, %d scores offered, "
          "%lld s",
          gamesFinished_, events_, levelsWon_, highestLevel_, restarts_, services_->scoresOffered,
          clock.elapsed() / 1000);
    // Self-play that never wins a level would leave most of the rules untried.
    QVERIFY(levelsWon_ > 0);
}

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
