// The real game heard through a real sound server: a private PulseAudio with a
// null sink beside the private X server, its monitor recorded while the game
// is played from outside. Effects must come at once after the click, the
// music must not falter while the window is resized or an animation runs,
// and with sound and music off nothing at all may be heard.
//
// The game is started with TANGRIX_TEST_ONE_SYMBOL, so that every quarter it
// deals shows the same symbol: every lay beside a tile fits, and the level is
// won by filling the 3 x 3 square around the first start tile.
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "tests/e2e/GameRun.h"
#include "tests/e2e/Player.h"
#include "tests/e2e/SoundServer.h"

namespace {
// Large, so that the resize storm reaches window sizes whose every paint
// takes the GUI thread a while.
const QSize ScreenSize{2560, 1440};
constexpr int Patience = 30000;

// Sounds a player notices: an effect within this time of the click.
constexpr qint64 EffectLatencyMs = 300;
// The longest silence allowed inside the music.
constexpr qint64 MusicGapMs = 50;

} // namespace

class TestEndToEndSound : public QObject {
    Q_OBJECT

    XDisplay x_;
    SoundServer sound_;
    QTemporaryDir store_;
    std::unique_ptr<GameRun> run_;
    std::unique_ptr<SoundRecording> recording_;

    // Records the sink, then starts the game and waits for its window.
    void StartGame(const QString& name, bool sound, bool music)
    {
        QVERIFY(store_.isValid());
        QVERIFY(WriteStore(store_.path(), sound, music));
        recording_ = std::make_unique<SoundRecording>(sound_);
        QString error = recording_->Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        run_ = std::make_unique<GameRun>(x_, ArtefactFolder(name), store_.path());
        run_->SetEnvironment(QStringLiteral("PULSE_SERVER"), sound_.Address());
        run_->SetEnvironment(QStringLiteral("TANGRIX_TEST_ONE_SYMBOL"), QStringLiteral("1"));
        error = run_->StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    // Lays the carried tile with one click, once it shows over the place;
    // gives the recording's position at the click.
    qint64 ClickToLay(ScriptedPlayer& player, QPoint place)
    {
        // A tile not seen there is found out by the checks after the click.
        player.HoldOver(place);
        const qint64 at = recording_->Now();
        run_->X().ClickHere(1);
        return at;
    }

    // Lays the winning square; afterClick is told the frame of each click.
    // won receives the frame of the last, winning click.
    QString WinLevel(ScriptedPlayer& player, qint64* won, const std::function<void(int, qint64)>& afterClick = {})
    {
        for (int i = 0; i < WinningLays.size(); ++i) {
            if (QString error = player.PickUp(1); !error.isEmpty())
                return error;
            *won = ClickToLay(player, WinningLays[i]);
            if (afterClick)
                afterClick(i, *won);
            if (i + 1 < WinningLays.size()) {
                // Laid: a new tile waits in the preview box.
                if (!Poll([&] {
                        return !Pixels::Same(run_->Shot().copy(run_->Layout().Preview()), player.EmptyPreview());
                    }))
                    return QStringLiteral("no new tile after the lay on (%1,%2)")
                        .arg(WinningLays[i].x())
                        .arg(WinningLays[i].y());
                player.LookAtBoard();
            }
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        if (const QString missing = SoundServer::Missing(); !missing.isEmpty())
            QSKIP(qPrintable(missing));
        QString error = x_.Start(ScreenSize);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = sound_.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void cleanup()
    {
        run_.reset();
        recording_.reset();
    }

    // Music off: a lay's click is heard at once, its stream closes after it,
    // and the won level rings.
    void effectsAreHeardAtOnce()
    {
        StartGame(QStringLiteral("sound-effects"), true, false);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(sound_.PlayingStreams(), 0);
        ScriptedPlayer player(*run_, StartTiles);
        QStringList delays;
        bool allSoon = true;
        qint64 won = 0;
        const QString error = WinLevel(player, &won, [&](int lay, qint64 at) {
            if (lay + 1 == WinningLays.size())
                return;
            const std::optional<qint64> onset = recording_->WaitForSound(at, Patience);
            const qint64 delay = onset ? SoundRecording::Ms(*onset - at) : -1;
            allSoon = allSoon && delay >= 0 && delay <= EffectLatencyMs;
            delays << QString::number(delay);
        });
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(allSoon, qPrintable(QStringLiteral("click to sound, per lay (ms; -1: never): ") +
                                     delays.join(QStringLiteral(", "))));
        qInfo("click to sound, per lay (ms): %s", qPrintable(delays.join(QStringLiteral(", "))));

        // The level-won sound rings for most of a second, the click of a lay
        // for a few hundredths.
        const std::optional<qint64> onset = recording_->WaitForSound(won, Patience);
        QVERIFY2(onset, "the won level is not heard");
        QVERIFY(SoundRecording::Ms(*onset - won) <= EffectLatencyMs);
        QTest::qWait(1500);
        const qint64 ringing = recording_->SoundingMs(*onset, recording_->Now());
        QVERIFY2(ringing > 500, qPrintable(QStringLiteral("the won level sounds for %1 ms").arg(ringing)));
        QVERIFY(run_->WaitForDialog(DialogSize::Message, Patience));

        // Nothing sounds any more: no stream is left open.
        QVERIFY2(Poll([&] { return sound_.PlayingStreams() == 0; }, Patience),
                 "an effect's stream stays open after it has played");
    }

    // Music on: heard, and without a gap while the window is resized again
    // and again, while a tile is thrown away and while the won level flashes.
    void musicPlaysOnThroughResizesAndAnimations()
    {
        StartGame(QStringLiteral("sound-music"), true, true);
        if (QTest::currentTestFailed())
            return;
        const std::optional<qint64> musicStart = recording_->WaitForSound(0, Patience);
        QVERIFY2(musicStart, "no music is heard");
        QTest::qWait(1000);
        qint64 from = recording_->Now();
        QVERIFY2(recording_->Peak(*musicStart, from) > 1000, "the music is hardly heard");

        const QString window = run_->Main().id;
        const QSize designed = run_->Main().geometry.size();
        for (int i = 0; i < 24; ++i) {
            x_.ResizeWindow(window, i % 2 ? QSize(2540, 1400) : QSize(700 + 40 * i, 540 + 30 * i));
            QTest::qWait(100);
        }
        x_.ResizeWindow(window, designed);
        QString error = run_->WaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        qint64 to = recording_->Now();
        qint64 gap = recording_->LongestSilenceMs(from, to);
        QVERIFY2(gap <= MusicGapMs, qPrintable(QStringLiteral("while resizing the music fell silent for %1 ms").arg(gap)));

        from = to;
        ScriptedPlayer player(*run_, StartTiles);
        for (int tile = 0; tile < 2; ++tile) {
            error = player.PickUp(1);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            error = player.ThrowAway();
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        qint64 won = 0;
        error = WinLevel(player, &won);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(run_->WaitForDialog(DialogSize::Message, Patience));
        to = recording_->Now();
        gap = recording_->LongestSilenceMs(from, to);
        QVERIFY2(gap <= MusicGapMs,
                 qPrintable(QStringLiteral("while tiles were thrown away and the level was won the music fell "
                                           "silent for %1 ms")
                                .arg(gap)));
    }

    // Sound and music off: tiles laid and thrown away, and not a sample heard.
    void nothingIsHeardWhenBothAreOff()
    {
        StartGame(QStringLiteral("sound-off"), false, false);
        if (QTest::currentTestFailed())
            return;
        ScriptedPlayer player(*run_, StartTiles);
        QString error = player.PickUp(1);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = player.LayOn(WinningLays[0]);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = player.PickUp(1);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = player.ThrowAway();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QTest::qWait(1500);
        QCOMPARE(recording_->Peak(0, recording_->Now()), 0);
        QCOMPARE(sound_.PlayingStreams(), 0);
    }
};

QTEST_GUILESS_MAIN(TestEndToEndSound)
#include "test_e2e_sound.moc"
