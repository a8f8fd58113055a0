// What a player sets survives a restart: language, sound, music, background,
// and the window's place and size.
#include <QtTest>

#include "FakeServices.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"

class RestartTest : public QObject {
    Q_OBJECT

private slots:
    void settingsAndPlacementSurviveARestart()
    {
        {
            TIniCtrl ini;
            for (const char* key : {"tongue", "sound", "music", "backmode", "MainForm"})
                ini.DeleteKey("common", key);
        }
        FakeServices services;
        services.chooseLanguage = [] { Tongue = 0; };
        QRect placed;
        {
            Tmainform form(services, std::make_unique<UniformRandom>(1));
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QTRY_COMPARE(services.languageAsked, 1);
            Tongue = 1; // as the options dialog would change them
            SoundOn = false;
            MusicOn = false;
            form.SetBackMode(5);
            form.setGeometry(40, 30, 700, 500); // inside the offscreen desktop of 800 x 600
            QTRY_COMPARE(form.geometry().size(), QSize(700, 500));
            placed = form.geometry();
            services.answers = {Answer::Yes};
            QVERIFY(form.close());
        } // the window is destroyed here and keeps its placement

        Tongue = -1; // a new run starts from the defaults
        SoundOn = true;
        MusicOn = true;
        FakeServices again;
        Tmainform form(again, std::make_unique<UniformRandom>(1));
        form.RestorePlacement();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(SoundOn, false);
        QCOMPARE(MusicOn, false);
        QCOMPARE(form.BackMode(), 5);
        QTRY_COMPARE(Tongue, 1);
        QCOMPARE(again.languageAsked, 0);
        QCOMPARE(form.ScoLabel->text(), QStringLiteral("Punkte:"));
        QCOMPARE(form.geometry(), placed);
        TIniCtrl ini;
        QVERIFY(!ini.ReadString("common", "MainForm", QString()).isEmpty());
        again.answers = {Answer::Yes};
        form.close();
    }
};

QTEST_MAIN(RestartTest)
#include "test_restart.moc"
