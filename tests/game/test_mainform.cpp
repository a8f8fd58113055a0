// The main window's part in the flow: it shows what the flow decided (the
// clock's timer, the pause button, the counters, the texts), asks for the
// language at the first showing, and writes the settings when it closes.
#include <QtTest>

#include "FakeServices.h"
#include "Positions.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"

class MainFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeServices> services;
    std::unique_ptr<Tmainform> form;

    void Make()
    {
        services = std::make_unique<FakeServices>();
        services->chooseLanguage = [] { Tongue = 1; };
        form = std::make_unique<Tmainform>(*services, std::make_unique<UniformRandom>(3));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

private slots:
    void init()
    {
        TIniCtrl().WriteInteger("common", "tongue", 0);
        Make();
        QTRY_VERIFY(form->Timer.isActive());
    }
    void cleanup()
    {
        services->answers = {Answer::Yes};
        form->close();
        form.reset();
    }

    void timerAndPauseButtonFollowTheFlow()
    {
        QCOMPARE(form->Timer.interval(), 500);
        QVERIFY(!form->PauseBtn->isEnabled());
        QTest::mouseClick(form->box, Qt::MiddleButton, {}, QPoint(5, 5));
        QVERIFY(form->PauseBtn->isEnabled());
        for (int i = 0; i < 300 && form->Game().GameState() != TGameState::gsOver; ++i)
            form->TimerTimer();
        QVERIFY(!form->Timer.isActive()); // game over stops the clock
        form->StartBtnClick();
        QVERIFY(form->Timer.isActive());
        QVERIFY(!form->PauseBtn->isEnabled());
    }

    void closingEndsHelpAndWritesSettings()
    {
        services->answers = {Answer::Yes};
        SoundOn = false;
        Tongue = 1;
        form->SetBackMode(4);
        form->close();
        QCOMPARE(services->helpQuits, 1);
        QVERIFY(!form->Timer.isActive());
        QCOMPARE(form->ini.ReadBool("common", "sound", true), false);
        QCOMPARE(form->ini.ReadInteger("common", "tongue", -1), 1);
        QCOMPARE(form->ini.ReadInteger("common", "backmode", 0), 4);
        SoundOn = true;
    }

    void countersAndTexts()
    {
        QVERIFY(Arrange(*form, [](GamePosition& p) { p.Score = -20; p.Level = 1234567; }));
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
        Make();
        QTRY_COMPARE(services->languageAsked, asked);
        QTRY_COMPARE(form->ScoLabel->text(), caption);
        QTRY_VERIFY(form->Timer.isActive()); // the clock runs once the question is answered
        form->hide();
        form->show(); // a later showing never asks again
        QCoreApplication::processEvents();
        QCOMPARE(services->languageAsked, asked);
        ini.DeleteKey("common", "tongue");
    }
};

QTEST_MAIN(MainFormTest)
#include "test_mainform.moc"
