// The options window with a fake main window behind it: its texts in both
// languages, what each button changes, and what it asks the main window to do.
#include "ModalAnswer.h"

#include "assets/DlgRes.h"
#include "settings/Globals.h"
#include "ui/Options.h"
#include "ui/OptionsHost.h"
#include "ui/toolkit/PictureButton.h"
#include "ui/toolkit/RaisedLabel.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

namespace {
class FakeHost : public OptionsHost {
public:
    QWidget* MainWindow() override { return main; }
    int BackMode() const override { return backMode; }
    void SetBackMode(int mode) override { backMode = mode; }
    void Resize() override { resizes << backMode; }
    void ApplyLanguage() override { languageTongues << Tongue; }
    bool SwitchMusic() override
    {
        ++musicSwitches;
        MusicOn = !MusicOn;
        if (MusicOn)
            fileName = QStringLiteral("piece%1.mid").arg(musicSwitches);
        return !openFails;
    }
    bool MusicFilesFound() const override { return filesFound; }
    bool MusicAvailable() const override { return available; }
    QString MusicFileName() const override { return fileName; }

    QWidget* main = nullptr;
    int backMode = 0;
    QList<int> resizes;          // the variant each repaint was asked for
    QList<int> languageTongues;  // the language each re-wording was asked in
    int musicSwitches = 0;
    bool filesFound = true;
    bool available = true;
    bool openFails = false;
    QString fileName = QStringLiteral("first.mid");
};

template <class Widget> Widget* Part(QWidget* dialog, const QString& name)
{
    auto* widget = dialog->findChild<Widget*>(name);
    if (!widget)
        qFatal("no part named %s", qPrintable(name));
    return widget;
}

QString Text(QWidget* dialog, const QString& label) { return Part<QLabel>(dialog, label)->text(); }
QString Hint(QWidget* dialog, const QString& button) { return Part<PictureButton>(dialog, button)->Hint(); }

void Click(QWidget* dialog, const QString& button)
{
    auto* target = Part<PictureButton>(dialog, button);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
}

using Texts = QMap<QString, QString>;
}

class OptionsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void textsForEverySetting_data();
    void textsForEverySetting();
    void languagePressRewordsWhileOpen();
    void backgroundCyclesThroughSevenVariants();
    void soundPressSwitchesEffects();
    void musicPressSwitchesMusic();
    void failedMusicSwitchKeepsTheTexts();
    void screenReadersHearNamesAndSwitches();
    void musicButtonDisabledWithoutMusic_data();
    void musicButtonDisabledWithoutMusic();
    void closesByButtonAndKeys_data();
    void closesByButtonAndKeys();
    void keysAfterAnOptionWasPressed_data();
    void keysAfterAnOptionWasPressed();
    void placedOverTheMainWindow();

private:
    FakeHost host_;
};

void OptionsDialogTest::initTestCase()
{
    DlgResources = new TDlgResources;
}

void OptionsDialogTest::init()
{
    host_ = FakeHost{};
    Tongue = 1;
    SoundOn = true;
    MusicOn = true;
}

void OptionsDialogTest::textsForEverySetting_data()
{
    QTest::addColumn<int>("tongue");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<bool>("music");
    QTest::addColumn<bool>("files");
    QTest::addColumn<int>("backMode");
    QTest::addColumn<Texts>("texts"); // part name -> caption or hint

    const auto u = [](const char* text) { return QString::fromUtf8(text); };
    const Texts german{
        {"OKBtn", u("Zurück zum Spiel")},
        {"OptLabel", u("Einstellungen:")},
        {"TongueBtn", u("Sprache ändern")},
        {"TongueLabel", u("Ich spreche deutsch.")},
        {"SoundBtn", u("Geräusche ein- und ausschalten.")},
        {"MusicBtn", u("Musik ein- und ausschalten.")},
        {"BackBtn", u("Hintergrund ändern")},
    };
    const Texts english{
        {"OKBtn", u("Back to game")},
        {"OptLabel", u("Options:")},
        {"TongueBtn", u("Change language")},
        {"TongueLabel", u("I speak English.")},
        {"SoundBtn", u("Sound on or off")},
        {"MusicBtn", u("Music on or off.")},
        {"BackBtn", u("Change background")},
    };
    const auto with = [](Texts texts, const Texts& more) {
        texts.insert(more);
        return texts;
    };

    QTest::newRow("German, all on")
        << 1 << true << true << true << 0
        << with(german, {{"SoundLabel", u("Geräusche sind an.")}, {"MusicLabel", u("Musik: first.mid")},
                         {"BackLabel", u("Hintergrund: 1")}});
    QTest::newRow("German, all off")
        << 1 << false << false << true << 6
        << with(german, {{"SoundLabel", u("Geräusche sind aus.")}, {"MusicLabel", u("Musik ist aus.")},
                         {"BackLabel", u("Hintergrund: 7")}});
    QTest::newRow("German, no music files")
        << 1 << true << true << false << 3
        << with(german, {{"MusicLabel", u("Keine Musikdateien vorhanden.")}, {"BackLabel", u("Hintergrund: 4")}});
    QTest::newRow("English, all on")
        << 0 << true << true << true << 0
        << with(english, {{"SoundLabel", u("Sound is on.")}, {"MusicLabel", u("Music: first.mid")},
                          {"BackLabel", u("Background: 1")}});
    QTest::newRow("English, all off")
        << 0 << false << false << true << 6
        << with(english, {{"SoundLabel", u("Sound is off.")}, {"MusicLabel", u("Music is off.")},
                          {"BackLabel", u("Background: 7")}});
    QTest::newRow("not chosen is English, no files")
        << -1 << true << false << false << 2
        << with(english, {{"MusicLabel", u("No music files available.")}, {"BackLabel", u("Background: 3")}});
}

void OptionsDialogTest::textsForEverySetting()
{
    QFETCH(int, tongue);
    QFETCH(bool, sound);
    QFETCH(bool, music);
    QFETCH(bool, files);
    QFETCH(int, backMode);
    QFETCH(Texts, texts);
    Tongue = tongue;
    SoundOn = sound;
    MusicOn = music;
    host_.filesFound = files;
    host_.backMode = backMode;

    TOptionDlg dialog(host_);
    ModalAnswer answer([&](QWidget* shown) {
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            const QString actual = it.key().endsWith(QStringLiteral("Btn")) ? Hint(shown, it.key())
                                                                             : Text(shown, it.key());
            QCOMPARE(actual, it.value());
        }
        QCOMPARE(Part<RaisedLabel>(shown, QStringLiteral("ProgLabel"))->Caption(), QStringLiteral("Tangrix"));
        QCOMPARE(Part<RaisedLabel>(shown, QStringLiteral("VersionLabel"))->Caption(),
                 QStringLiteral("Version  V2.1"));
        Click(shown, QStringLiteral("OKBtn"));
    });
    dialog.ShowModal();
    QVERIFY(answer.Seen());
}

void OptionsDialogTest::languagePressRewordsWhileOpen()
{
    Tongue = -1;
    TOptionDlg dialog(host_);
    ModalAnswer answer([&](QWidget* shown) {
        QCOMPARE(Text(shown, QStringLiteral("TongueLabel")), QStringLiteral("I speak English."));
        Click(shown, QStringLiteral("TongueBtn"));
        QVERIFY(shown->isVisible());
        QCOMPARE(Tongue, 0);
        QCOMPARE(Text(shown, QStringLiteral("OptLabel")), QStringLiteral("Options:"));
        Click(shown, QStringLiteral("TongueBtn"));
        QCOMPARE(Tongue, 1);
        QCOMPARE(Text(shown, QStringLiteral("OptLabel")), QStringLiteral("Einstellungen:"));
        QCOMPARE(Text(shown, QStringLiteral("TongueLabel")), QStringLiteral("Ich spreche deutsch."));
        QVERIFY(shown->isVisible());
        Click(shown, QStringLiteral("TongueBtn"));
        QCOMPARE(Tongue, 0);
        QCOMPARE(Text(shown, QStringLiteral("SoundLabel")), QStringLiteral("Sound is on."));
        Click(shown, QStringLiteral("OKBtn"));
    });
    dialog.ShowModal();
    QVERIFY(answer.Seen());
    // The main window was re-worded after each press, in the new language.
    QCOMPARE(host_.languageTongues, (QList<int>{0, 1, 0}));
    QVERIFY(host_.resizes.isEmpty());
}

void OptionsDialogTest::backgroundCyclesThroughSevenVariants()
{
    Tongue = 0;
    TOptionDlg dialog(host_);
    ModalAnswer answer([&](QWidget* shown) {
        QCOMPARE(Text(shown, QStringLiteral("BackLabel")), QStringLiteral("Background: 1"));
        for (int press = 1; press <= 7; ++press) {
            Click(shown, QStringLiteral("BackBtn"));
            QCOMPARE(Text(shown, QStringLiteral("BackLabel")), QStringLiteral("Background: %1").arg(press % 7 + 1));
        }
        Click(shown, QStringLiteral("OKBtn"));
    });
    dialog.ShowModal();
    QVERIFY(answer.Seen());
    QCOMPARE(host_.backMode, 0);
    // Each press repainted the main window for the new variant, then re-worded it.
    QCOMPARE(host_.resizes, (QList<int>{1, 2, 3, 4, 5, 6, 0}));
    QCOMPARE(host_.languageTongues.size(), 7);
}

void OptionsDialogTest::soundPressSwitchesEffects()
{
    Tongue = 0;
    TOptionDlg dialog(host_);
    ModalAnswer answer([&](QWidget* shown) {
        Click(shown, QStringLiteral("SoundBtn"));
        QVERIFY(!SoundOn);
        QCOMPARE(Text(shown, QStringLiteral("SoundLabel")), QStringLiteral("Sound is off."));
        Click(shown, QStringLiteral("SoundBtn"));
        QVERIFY(SoundOn);
        QCOMPARE(Text(shown, QStringLiteral("SoundLabel")), QStringLiteral("Sound is on."));
        Click(shown, QStringLiteral("OKBtn"));
    });
    dialog.ShowModal();
    QVERIFY(answer.Seen());
    QVERIFY(host_.languageTongues.isEmpty());
}

void OptionsDialogTest::musicPressSwitchesMusic()
{
    Tongue = 1;
    TOptionDlg dialog(host_);
    ModalAnswer answer([&](QWidget* shown) {
        QCOMPARE(Text(shown, QStringLiteral("MusicLabel")), QStringLiteral("Musik: first.mid"));
        Click(shown, QStringLiteral("MusicBtn"));
        QCOMPARE(Text(shown, QStringLiteral("MusicLabel")), QStringLiteral("Musik ist aus."));
        Click(shown, QStringLiteral("MusicBtn"));
        QCOMPARE(Text(shown, QStringLiteral("MusicLabel")), QStringLiteral("Musik: piece2.mid"));
        Click(shown, QStringLiteral("OKBtn"));
    });
    dialog.ShowModal();
    QVERIFY(answer.Seen());
    QCOMPARE(host_.musicSwitches, 2);
}

void OptionsDialogTest::failedMusicSwitchKeepsTheTexts()
{
    Tongue = 0;
    MusicOn = false;
    host_.openFails = true;
    TOptionDlg dialog(host_);
    ModalAnswer answer([&](QWidget* shown) {
        Click(shown, QStringLiteral("MusicBtn"));
        QCOMPARE(host_.musicSwitches, 1);
        QCOMPARE(Text(shown, QStringLiteral("MusicLabel")), QStringLiteral("Music is off."));
        QCOMPARE(Part<PictureButton>(shown, QStringLiteral("MusicBtn"))->SwitchState(), std::optional<bool>(false));
        QVERIFY(shown->isVisible());
        Click(shown, QStringLiteral("OKBtn"));
    });
    dialog.ShowModal();
    QVERIFY(answer.Seen());
}

// Each button by a name, the two switches ticked while their setting is on,
// each described by the label beside it; all of it follows the language.
void OptionsDialogTest::screenReadersHearNamesAndSwitches()
{
    Tongue = 0;
    SoundOn = true;
    MusicOn = true;
    TOptionDlg dialog(host_);
    const auto heard = [](QWidget* shown, const QString& button) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(Part<QWidget>(shown, button));
        return QStringList{i->text(QAccessible::Name), i->text(QAccessible::Description),
                           i->state().checkable ? (i->state().checked ? "on" : "off") : "-"};
    };
    ModalAnswer answer([&](QWidget* shown) {
        QCOMPARE(QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name), QStringLiteral("Options"));
        QCOMPARE(heard(shown, "TongueBtn"), (QStringList{"Change language", "I speak English.", "-"}));
        QCOMPARE(heard(shown, "SoundBtn"), (QStringList{"Sound effects", "Sound is on.", "on"}));
        QCOMPARE(heard(shown, "MusicBtn"), (QStringList{"Music", "Music: first.mid", "on"}));
        QCOMPARE(heard(shown, "BackBtn"), (QStringList{"Change background", "Background: 1", "-"}));
        QCOMPARE(heard(shown, "OKBtn"), (QStringList{"Back to game", "Back to game", "-"}));
        Click(shown, QStringLiteral("SoundBtn"));
        Click(shown, QStringLiteral("MusicBtn"));
        QCOMPARE(heard(shown, "SoundBtn"), (QStringList{"Sound effects", "Sound is off.", "off"}));
        QCOMPARE(heard(shown, "MusicBtn"), (QStringList{"Music", "Music is off.", "off"}));
        Click(shown, QStringLiteral("TongueBtn"));
        QCOMPARE(QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name), QStringLiteral("Einstellungen"));
        QCOMPARE(heard(shown, "SoundBtn"), (QStringList{QString::fromUtf8("Geräusche"), QString::fromUtf8("Geräusche sind aus."), "off"}));
        QCOMPARE(heard(shown, "TongueBtn"), (QStringList{QString::fromUtf8("Sprache ändern"), "Ich spreche deutsch.", "-"}));
        Click(shown, QStringLiteral("OKBtn"));
    });
    dialog.ShowModal();
    QVERIFY(answer.Seen());
}

void OptionsDialogTest::musicButtonDisabledWithoutMusic_data()
{
    QTest::addColumn<bool>("files");
    QTest::addColumn<bool>("available");
    QTest::addColumn<int>("tongue");
    QTest::addColumn<QString>("label");
    // No files first, whatever else; the music setting shows in neither.
    QTest::newRow("no files") << false << true << 0 << QStringLiteral("No music files available.");
    QTest::newRow("no files, no synthesiser") << false << false << 1 << QStringLiteral("Keine Musikdateien vorhanden.");
    QTest::newRow("no synthesiser, English") << true << false << 0 << QStringLiteral("Music is not available.");
    QTest::newRow("no synthesiser, German") << true << false << 1 << QString::fromUtf8("Musik ist nicht verfügbar.");
}

void OptionsDialogTest::musicButtonDisabledWithoutMusic()
{
    QFETCH(bool, files);
    QFETCH(bool, available);
    QFETCH(int, tongue);
    QFETCH(QString, label);
    host_.filesFound = files;
    host_.available = available;
    Tongue = tongue;
    TOptionDlg dialog(host_);
    ModalAnswer answer([&](QWidget* shown) {
        QCOMPARE(Text(shown, QStringLiteral("MusicLabel")), label);
        auto* music = Part<PictureButton>(shown, QStringLiteral("MusicBtn"));
        QVERIFY(!music->isEnabled());
        QCOMPARE(music->ShownFace(), PictureButton::Face::Disabled);
        Click(shown, QStringLiteral("MusicBtn"));
        QCOMPARE(host_.musicSwitches, 0);
        QVERIFY(Part<PictureButton>(shown, QStringLiteral("SoundBtn"))->isEnabled());
        Click(shown, QStringLiteral("OKBtn"));
    });
    dialog.ShowModal();
    QVERIFY(answer.Seen());
}

void OptionsDialogTest::closesByButtonAndKeys_data()
{
    QTest::addColumn<int>("key"); // 0: the OK button
    QTest::newRow("OK button") << 0;
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void OptionsDialogTest::closesByButtonAndKeys()
{
    QFETCH(int, key);
    TOptionDlg dialog(host_);
    ModalAnswer answer([&](QWidget* shown) {
        if (key == 0)
            Click(shown, QStringLiteral("OKBtn"));
        else
            QTest::keyClick(shown, Qt::Key(key));
        QVERIFY(!shown->isVisible());
    });
    dialog.ShowModal();
    QVERIFY(answer.Seen());
    // Closing changes nothing.
    QVERIFY(SoundOn && MusicOn);
    QCOMPARE(Tongue, 1);
    QVERIFY(host_.languageTongues.isEmpty() && host_.resizes.isEmpty());
}

// Only Space presses an option, and only the one focused by Tab; Enter
// closes the window whatever has the focus, and never presses the option
// clicked last once more.
void OptionsDialogTest::keysAfterAnOptionWasPressed_data()
{
    QTest::addColumn<bool>("byTab");  // the sound option focused by Tab, else clicked
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("soundOn"); // after the key
    QTest::addColumn<bool>("open");
    QTest::newRow("clicked, Return") << false << int(Qt::Key_Return) << false << false;
    QTest::newRow("clicked, keypad Enter") << false << int(Qt::Key_Enter) << false << false;
    QTest::newRow("clicked, Space") << false << int(Qt::Key_Space) << false << true;
    QTest::newRow("Tab, Space") << true << int(Qt::Key_Space) << false << true;
    QTest::newRow("Tab, Return") << true << int(Qt::Key_Return) << true << false;
    QTest::newRow("Tab, Escape") << true << int(Qt::Key_Escape) << true << false;
}

void OptionsDialogTest::keysAfterAnOptionWasPressed()
{
    QFETCH(bool, byTab);
    QFETCH(int, key);
    QFETCH(bool, soundOn);
    QFETCH(bool, open);
    TOptionDlg dialog(host_);
    ModalAnswer answer([&](QWidget* shown) {
        auto* sound = Part<PictureButton>(shown, QStringLiteral("SoundBtn"));
        if (byTab)
            sound->setFocus(Qt::TabFocusReason);
        else
            Click(shown, QStringLiteral("SoundBtn"));
        QWidget* focused = shown->focusWidget();
        QTest::keyClick(focused ? focused : shown, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(SoundOn, soundOn);
        QCOMPARE(shown->isVisible(), open);
    });
    dialog.ShowModal();
    QVERIFY(answer.Seen());
}

void OptionsDialogTest::placedOverTheMainWindow()
{
    QWidget main;
    main.setGeometry(100, 80, 701, 462);
    host_.main = &main;
    TOptionDlg dialog(host_);

    dialog.move(5, 6);
    dialog.FormActivate(); // main window hidden: stays where it is
    QCOMPARE(dialog.pos(), QPoint(5, 6));

    main.show();
    dialog.FormActivate();
    const QRect frame = main.frameGeometry();
    QCOMPARE(dialog.pos(), QPoint(frame.left() + (frame.width() - 497) / 2,
                                  frame.top() + frame.height() - (main.height() + 416) / 2));
    QCOMPARE(dialog.size(), QSize(497, 416));
}

QTEST_MAIN(OptionsDialogTest)
#include "test_options_dialog.moc"
