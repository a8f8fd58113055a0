// The real game while its sound server fails: a private PulseAudio that stops
// answering (SIGSTOP) while the game plays, then is killed and started anew
// on the same socket, as a desktop's server comes back after a crash. The
// game must stay fully playable while the server hangs (silent), and its
// effects and music must be heard again a few seconds after a server is back.
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

#include "tests/e2e/GameRun.h"
#include "tests/e2e/Player.h"
#include "tests/e2e/SoundServer.h"

namespace {
const QSize ScreenSize{1280, 1024};
constexpr int Patience = 30000;
// A server back: the game looks for it every two seconds while something is
// meant to sound; this leaves room for a slow start of the new server.
constexpr int BackWithinMs = 10000;
// While the server hangs, each move must show on the screen within this:
// far more than a move takes on a busy machine, far less than the sound
// library's own wait for a hanging server (30 s), which a game that waited
// for it would show as a freeze.
constexpr int HangingPatienceMs = 10000;
} // namespace

class TestEndToEndSoundOutage : public QObject {
    Q_OBJECT

    XDisplay x_;
    SoundServer sound_;
    QTemporaryDir store_;
    std::unique_ptr<GameRun> run_;
    std::unique_ptr<SoundRecording> recording_;
    std::unique_ptr<ScriptedPlayer> player_;
    int lays_ = 0; // of WinningLays, in order (never all: no level is won)

    QString Record()
    {
        recording_ = std::make_unique<SoundRecording>(sound_);
        return recording_->Start();
    }

    void StartGame(const QString& name, bool music)
    {
        QVERIFY(store_.isValid());
        QVERIFY(WriteStore(store_.path(), true, music));
        QString error = Record();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        run_ = std::make_unique<GameRun>(x_, ArtefactFolder(name), store_.path());
        run_->SetEnvironment(QStringLiteral("PULSE_SERVER"), sound_.Address());
        run_->SetEnvironment(QStringLiteral("TANGRIX_TEST_ONE_SYMBOL"), QStringLiteral("1"));
        error = run_->StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        player_ = std::make_unique<ScriptedPlayer>(*run_, StartTiles);
        lays_ = 0;
    }

    // Takes the next tile and lays it beside the others; the lay must score
    // and a new tile must wait in the preview box. Gives the recording's
    // position at the click.
    qint64 LayNext(QString* error, int patience = Patience)
    {
        *error = player_->PickUp(1);
        if (!error->isEmpty())
            return 0;
        const QPoint place = WinningLays[lays_++];
        player_->HoldOver(place);
        const qint64 at = recording_->Now();
        const QImage score = run_->Shot().copy(run_->Layout().ScoreCounter());
        run_->X().ClickHere(1);
        if (!Poll([&] {
                const QImage shot = run_->Shot();
                return !Pixels::Same(shot.copy(run_->Layout().Preview()), player_->EmptyPreview()) &&
                       !Pixels::Same(shot.copy(run_->Layout().ScoreCounter()), score);
            }, patience))
            *error = QStringLiteral("the lay on (%1,%2) neither scored nor dealt a new tile")
                         .arg(place.x())
                         .arg(place.y());
        player_->LookAtBoard();
        return at;
    }

    // The server is stopped and stays so while the player lays two tiles,
    // takes the next one (which sounds nothing: the game must have come back
    // from the lay's effect to show it) and throws it away.
    void LayWhileTheServerHangs()
    {
        sound_.Pause();
        QString error;
        for (int lay = 0; lay < 2 && error.isEmpty(); ++lay)
            LayNext(&error, HangingPatienceMs);
        QElapsedTimer move;
        move.start();
        if (error.isEmpty())
            error = player_->PickUp(1);
        if (error.isEmpty() && move.elapsed() > HangingPatienceMs)
            error = QStringLiteral("the next tile was taken only after %1 ms").arg(move.elapsed());
        if (error.isEmpty())
            error = player_->ThrowAway();
        QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("with the sound server stopped: ") + error));
        QVERIFY(run_->Running());
    }

    void RestartTheServer()
    {
        sound_.Kill();
        QString error = sound_.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = Record();
        QVERIFY2(error.isEmpty(), qPrintable(error));
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
        player_.reset();
        run_.reset();
        recording_.reset();
        sound_.Resume();
        if (!sound_.Running())
            QVERIFY(sound_.Start().isEmpty());
    }

    // Music playing, so the device is open when the server stops.
    void musicReturnsWithANewServer()
    {
        StartGame(QStringLiteral("outage-music"), true);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(recording_->WaitForSound(0, Patience), "no music is heard");

        LayWhileTheServerHangs();
        if (QTest::currentTestFailed())
            return;
        RestartTheServer();
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(recording_->WaitForSound(0, BackWithinMs), "the music is not heard again after the sound server came back");
        QTest::qWait(1000);
        QVERIFY2(recording_->Peak(0, recording_->Now()) > 1000, "the music is hardly heard");
    }

    // Music off, so an effect must open the device, and the opening is what
    // waits while the server hangs.
    void effectsReturnWithANewServer()
    {
        StartGame(QStringLiteral("outage-effects"), false);
        if (QTest::currentTestFailed())
            return;
        QString error;
        qint64 at = LayNext(&error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(recording_->WaitForSound(at, 5000), "a lay is not heard before the sound server stops");
        // The effect's stream closed: the next effect must open one, and
        // that is what waits while the server hangs.
        QVERIFY2(Poll([&] { return sound_.PlayingStreams() == 0; }, Patience), "the effect's stream stays open");

        LayWhileTheServerHangs();
        if (QTest::currentTestFailed())
            return;
        RestartTheServer();
        if (QTest::currentTestFailed())
            return;
        // Lays until one is heard: the first may come before the game looks
        // for the server again.
        QElapsedTimer back;
        back.start();
        bool heard = false;
        while (!heard && lays_ + 1 < WinningLays.size()) {
            at = LayNext(&error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            heard = recording_->WaitForSound(at, 1500).has_value();
        }
        QVERIFY2(heard, "no lay is heard after the sound server came back");
        qInfo("a lay heard again %lld ms after the new server was up", static_cast<long long>(back.elapsed()));
    }
};

QTEST_GUILESS_MAIN(TestEndToEndSoundOutage)
#include "test_e2e_sound_outage.moc"
