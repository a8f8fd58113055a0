// The flow of a game in the main window: the clock, the tool-strip buttons,
// pausing, closing and the texts that follow the language. Every modal window
// is a fake that answers at once.
#include <QtTest>

#include "FakeServices.h"
#include "game/main.h"
#include "help/hh_funcs.h"
#include "settings/Globals.h"

namespace {
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace

class FlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeServices> services;
    std::unique_ptr<Tmainform> form;

    GameCore& Game() { return form->Game(); }
    const BoardGeometry& Geo() { return form->Painter().Geometry(); }
    void PressPreview(Qt::MouseButton button = Qt::LeftButton)
    {
        form->boxMouseDown(button, Geo().PreviewLeft + Geo().CellSize, Geo().PreviewTop + Geo().CellSize);
    }
    void RunClockOut()
    {
        for (int i = 0; i < 1000 && Game().GameState != TGameState::gsOver; ++i)
            form->TimerTimer();
    }
    // Brings the game into a state by the way a player gets there.
    void Enter(TGameState state, int score)
    {
        if (state != TGameState::gsReady)
            PressPreview();
        Game().Score = score;
        if (state == TGameState::gsOver)
            RunClockOut();
        services->messages.clear();
        services->highscores.clear();
        services->effects.clear();
    }
    bool BoardShowsTiles()
    {
        const QImage& canvas = form->box->Canvas().Image();
        const QImage& sheet = form->bmps.Item(0);
        for (int column = 0; column < BoardCells; ++column)
            for (int row = 0; row < BoardCells; ++row) {
                const int x = Geo().CellX(column), y = Geo().CellY(row);
                for (int d = 0; d < Geo().CellSize; ++d) {
                    const QRgb background = sheet.pixel(200 + (x + d) % 100, form->BackMode() * 100 + (y + d) % 100);
                    if ((canvas.pixel(x + d, y + d) & 0xFFFFFF) != (background & 0xFFFFFF))
                        return true;
                }
            }
        return false;
    }

private slots:
    void init()
    {
        Tongue = 0;
        services = std::make_unique<FakeServices>();
        form = std::make_unique<Tmainform>(*services, std::make_unique<UniformRandom>(3));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        services->messages.clear();
    }
    void cleanup()
    {
        services->answers.clear();
        services->answers.push_back(Yes);
        form->close();
        form.reset();
    }

    void aNewTableauWaitsWithTheClockRunning()
    {
        QCOMPARE(Game().GameState, TGameState::gsReady);
        QCOMPARE(Game().Score, 0);
        QCOMPARE(Game().Level, 1);
        QCOMPARE(Game().Clock.TimeLeft, 1.0f);
        QVERIFY(form->Timer.isActive());
        QCOMPARE(form->Timer.interval(), 500);
        QVERIFY(!form->PauseBtn->isEnabled());
        form->TimerTimer();
        QVERIFY(Game().Clock.TimeLeft < 1.0f);
        QCOMPARE(Game().GameState, TGameState::gsReady);
    }

    void firstPressStartsTheGame()
    {
        form->boxMouseDown(Qt::MiddleButton, 1, 1); // anywhere on the board canvas
        QCOMPARE(Game().GameState, TGameState::gsRunning);
        QVERIFY(form->PauseBtn->isEnabled());
        QVERIFY(!Game().InHand);
    }

    // The state table of the game's life, one row per transition.
    void stateTable_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("score");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("to");
        QTest::addColumn<QList<int>>("messages");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<bool>("newGame");
        QTest::addColumn<bool>("closed");

        const int ready = int(TGameState::gsReady), running = int(TGameState::gsRunning), over = int(TGameState::gsOver);
        QTest::newRow("ready, start, score 0: new game, no question")
            << ready << "start" << 0 << QList<int>{} << ready << QList<int>{} << false << true << false;
        QTest::newRow("running, start, negative score: new game, no question")
            << running << "start" << -30 << QList<int>{} << ready << QList<int>{} << false << true << false;
        QTest::newRow("running, start, score, Yes: offered, new game")
            << running << "start" << 80 << QList<int>{Yes} << ready << QList<int>{4} << true << true << false;
        QTest::newRow("running, start, score, No: unchanged")
            << running << "start" << 80 << QList<int>{No} << running << QList<int>{4} << false << false << false;
        QTest::newRow("ready, start, score, No: unchanged")
            << ready << "start" << 80 << QList<int>{No} << ready << QList<int>{4} << false << false << false;
        QTest::newRow("over, start: new game, no question")
            << over << "start" << 80 << QList<int>{} << ready << QList<int>{} << false << true << false;
        QTest::newRow("running, close, Yes: game over, offered, closed")
            << running << "close" << 80 << QList<int>{Yes} << over << QList<int>{4} << true << false << true;
        QTest::newRow("running, close, Yes, score 0: nothing offered")
            << running << "close" << 0 << QList<int>{Yes} << over << QList<int>{4} << false << false << true;
        QTest::newRow("ready, close, Yes: asks 3, nothing offered")
            << ready << "close" << 80 << QList<int>{Yes} << ready << QList<int>{3} << false << false << true;
        QTest::newRow("over, close, Yes: asks 3")
            << over << "close" << 80 << QList<int>{Yes} << over << QList<int>{3} << false << false << true;
        QTest::newRow("running, close, No: stays")
            << running << "close" << 80 << QList<int>{No} << running << QList<int>{4} << false << false << false;
        QTest::newRow("ready, close, No: stays")
            << ready << "close" << 80 << QList<int>{No} << ready << QList<int>{3} << false << false << false;
        QTest::newRow("running, pause: paused while the message is open, then running")
            << running << "pause" << 80 << QList<int>{} << running << QList<int>{12} << false << false << false;
        QTest::newRow("ready, pause: nothing") << ready << "pause" << 0 << QList<int>{} << ready << QList<int>{}
                                               << false << false << false;
        QTest::newRow("over, pause: nothing although enabled")
            << over << "pause" << 80 << QList<int>{} << over << QList<int>{} << false << false << false;
    }
    void stateTable()
    {
        QFETCH(int, from);
        QFETCH(QString, event);
        QFETCH(int, score);
        QFETCH(QList<int>, answers);
        QFETCH(int, to);
        QFETCH(QList<int>, messages);
        QFETCH(bool, offered);
        QFETCH(bool, newGame);
        QFETCH(bool, closed);

        Enter(TGameState(from), score);
        const TBoard boardBefore = Game().Board;
        const int levelBefore = Game().Level;
        const bool carried = Game().InHand;
        const float timeBefore = Game().Clock.TimeLeft;
        services->answers.assign(answers.begin(), answers.end());
        TGameState stateWhileMessage = TGameState::gsReady;
        services->whileMessageOpen = [&](int) { stateWhileMessage = Game().GameState; };

        if (event == "start")
            form->StartBtnClick();
        else if (event == "close")
            form->close();
        else
            form->PauseBtnClick();

        QCOMPARE(int(Game().GameState), to);
        QCOMPARE(services->messages, messages);
        QCOMPARE(services->highscores.size(), offered ? 1 : 0);
        if (offered)
            QCOMPARE(services->highscores.first(), qMakePair(score, false));
        QCOMPARE(form->isVisible(), !closed);
        if (newGame) {
            QCOMPARE(Game().Score, 0);
            QVERIFY(!Game().InHand);
            QVERIFY(form->Timer.isActive());
            QCOMPARE(Game().Clock.TimeLeft, 1.0f);
        } else if (event != "close" || !closed) {
            QCOMPARE(Game().Score, score);
            QCOMPARE(Game().Level, levelBefore);
            QCOMPARE(Game().InHand, carried);
            QVERIFY(Game().Board.AllCells() == boardBefore.AllCells());
            QCOMPARE(Game().Clock.TimeLeft, timeBefore);
        }
        if (event == "pause" && !messages.isEmpty())
            QCOMPARE(stateWhileMessage, TGameState::gsPaused);
        if (event == "start" && TGameState(from) != TGameState::gsOver)
            QVERIFY(form->Timer.isActive()); // the clock resumes after the question
    }

    void clockLeftAloneEndsTheGame()
    {
        PressPreview(); // a carried tile is lost at the end
        int ticks = 0;
        while (Game().GameState != TGameState::gsOver && ticks < 1000) {
            form->TimerTimer();
            ++ticks;
        }
        QCOMPARE(ticks, 201);
        QVERIFY(!Game().InHand);
        QVERIFY(IsEmpty(Game().NextTile)); // the preview stays empty until a new game
        QVERIFY(!form->Timer.isActive());
        QCOMPARE(services->effects, QList<int>{3});
        QCOMPARE(services->messages, QList<int>{7});
        QVERIFY(services->highscores.isEmpty()); // a score of 0 is never offered

        // Over: the board ignores presses and moves, the pause button does nothing.
        const TBoard board = Game().Board;
        form->boxMouseDown(Qt::LeftButton, Geo().PreviewLeft + 5, Geo().PreviewTop + 5);
        form->PauseBtnClick();
        QCOMPARE(Game().GameState, TGameState::gsOver);
        QVERIFY(!Game().InHand);
        QVERIFY(Game().Board.AllCells() == board.AllCells());
    }

    void positiveScoreIsOfferedAtTheEnd()
    {
        PressPreview();
        Game().Score = 345;
        RunClockOut();
        QCOMPARE(services->highscores, (QList<QPair<int, bool>>{{345, false}}));
    }

    void pauseHidesTheTilesAndFreezesTheClock()
    {
        PressPreview();
        Game().Clock.TimeLeft = 0.7f;
        QVERIFY(BoardShowsTiles());
        bool hiddenDuringPause = false;
        services->whileMessageOpen = [&](int) {
            hiddenDuringPause = !BoardShowsTiles();
            form->TimerTimer(); // ticks keep coming, but the clock is frozen
            form->TimerTimer();
        };
        form->PauseBtnClick();
        QVERIFY(hiddenDuringPause);
        QCOMPARE(Game().Clock.TimeLeft, 0.7f);
        QVERIFY(BoardShowsTiles());
        QCOMPARE(Game().GameState, TGameState::gsRunning);
    }

    // A time-out while the close question is open: the game ends at once, and
    // message 7 and the score offer come when the question has closed.
    void timeOutBehindTheCloseQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("answered Yes: offered once, then closed") << Yes;
        QTest::newRow("answered No: offered once, window stays") << No;
    }
    void timeOutBehindTheCloseQuestion()
    {
        QFETCH(int, answer);
        PressPreview();
        Game().Score = 90;
        services->answers = {answer};
        services->whileMessageOpen = [&](int) {
            Game().Clock.TimeLeft = 0.001f;
            form->TimerTimer();
            QCOMPARE(Game().GameState, TGameState::gsOver);
            QVERIFY(!form->Timer.isActive());
            QCOMPARE(services->messages, QList<int>{4}); // nothing shown over the open question
        };
        form->close();
        QCOMPARE(services->messages, (QList<int>{4, 7}));
        QCOMPARE(services->highscores, (QList<QPair<int, bool>>{{90, false}}));
        QCOMPARE(form->isVisible(), answer == No);
    }

    void timeOutBehindTheHighScoreTable()
    {
        PressPreview();
        Game().Score = 70;
        services->whileHighscoreOpen = [&] {
            Game().Clock.TimeLeft = 0.001f;
            form->TimerTimer();
            QVERIFY(services->messages.isEmpty());
        };
        form->HighScoreBtnClick();
        QCOMPARE(services->messages, QList<int>{7});
        QCOMPARE(services->highscores, (QList<QPair<int, bool>>{{70, true}, {70, false}}));
        QCOMPARE(services->effects, QList<int>{3});
    }

    void buttonsReachTheirWindows()
    {
        Game().Score = 12;
        form->HighScoreBtnClick();
        form->OptionBtnClick();
        form->InfoBtnClick();
        QCOMPARE(services->highscores, (QList<QPair<int, bool>>{{12, true}}));
        QCOMPARE(services->optionsShown, 1);
        QCOMPARE(services->infoShown, 1);
        Tongue = 1;
        form->RulesBtnClick();
        Tongue = 0;
        form->RulesBtnClick();
        Tongue = 7;
        form->RulesBtnClick();
        QCOMPARE(services->helpContexts, (QList<int>{1, 2, 2}));
    }

    void closingEndsHelpAndWritesSettings()
    {
        services->answers = {Yes};
        SoundOn = false;
        Tongue = 1;
        form->SetBackMode(4);
        form->close();
        QCOMPARE(services->helpCommands, (QList<QPair<int, int>>{{HELP_QUIT, 0}}));
        QVERIFY(!form->Timer.isActive());
        QCOMPARE(form->ini.ReadBool("common", "sound", true), false);
        QCOMPARE(form->ini.ReadInteger("common", "tongue", -1), 1);
        QCOMPARE(form->ini.ReadInteger("common", "backmode", 0), 4);
        SoundOn = true;
    }

    void countersAndTexts()
    {
        Game().Score = -20;
        Game().Level = 1234567;
        form->ShowCounters();
        QCOMPARE(form->ScoreLabel->text(), QStringLiteral("-20"));
        QCOMPARE(form->LevelLabel->text(), QStringLiteral("234567"));

        Tongue = 1;
        form->ApplyLanguage();
        QCOMPARE(form->ScoLabel->text(), QStringLiteral("Punkte:"));
        QCOMPARE(form->LevLabel->text(), QStringLiteral("Stufe:"));
        QCOMPARE(form->StartBtn->Hint(), QStringLiteral("Ich möchte eine neue Auslage."));
        QCOMPARE(form->InfoBtn->Hint(), QStringLiteral("Wer hat diese Spiele nur verbrochen?"));
        Tongue = -1;
        form->ApplyLanguage();
        QCOMPARE(form->ScoLabel->text(), QStringLiteral("Score:"));
        QCOMPARE(form->LevLabel->text(), QStringLiteral("Level:"));
        QCOMPARE(form->StartBtn->Hint(), QStringLiteral("I want an new \"tableau\"."));
        QCOMPARE(form->OptionBtn->Hint(), QStringLiteral(" I want to change the options."));
        QCOMPARE(form->ExitBtn->Hint(), QStringLiteral("I have enough!"));
        QCOMPARE(form->ScoreLabel->text(), QStringLiteral("-20")); // numbers are untouched
    }

    void firstShowAsksForTheLanguageOnce_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("asked");
        QTest::addColumn<QString>("caption");
        QTest::newRow("nothing stored: asked, German chosen") << QString() << 1 << "Punkte:";
        QTest::newRow("German stored") << "1" << 0 << "Punkte:";
        QTest::newRow("5 stored: English, not asked") << "5" << 0 << "Score:";
    }
    void firstShowAsksForTheLanguageOnce()
    {
        QFETCH(QString, stored);
        QFETCH(int, asked);
        QFETCH(QString, caption);
        form.reset();
        TIniCtrl ini;
        if (stored.isNull())
            ini.DeleteKey("common", "tongue");
        else
            ini.WriteString("common", "tongue", stored);
        services = std::make_unique<FakeServices>();
        services->languageChoice = 1;
        form = std::make_unique<Tmainform>(*services, std::make_unique<UniformRandom>(3));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTRY_COMPARE(services->languageAsked, asked);
        QTRY_COMPARE(form->ScoLabel->text(), caption);
        form->hide();
        form->show(); // a later showing never asks again
        QCoreApplication::processEvents();
        QCOMPARE(services->languageAsked, asked);
        ini.DeleteKey("common", "tongue");
    }
};

QTEST_MAIN(FlowTest)
#include "test_flow.moc"
