#include "ui/Options.h"

#include "assets/DlgRes.h"
#include "settings/Globals.h"
#include "settings/SettingKeys.h"
#include "ui/DialogBuilder.h"
#include "ui/OptionsHost.h"
#include "ui/toolkit/DialogPlacement.h"
#include "ui/toolkit/DragToMove.h"
#include "ui/toolkit/PictureButton.h"
#include "ui/toolkit/RaisedLabel.h"
#include "ui/toolkit/TexturedPanel.h"
#include "ui/toolkit/TransparentImage.h"
#include "ui/toolkit/ToolkitFonts.h"
#include "ui/toolkit/WindowSystem.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>

TOptionDlg* OptionDlg = nullptr;

namespace {
RaisedLabel* MakeTurnedLabel(QWidget* parent, const QString& name, const QRect& geometry, const QFont& font)
{
    auto* label = new RaisedLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    label->SetTurned(true);
    label->SetTextColor(Qt::white);
    label->SetShadowColor(Qt::black);
    label->SetDepth(2);
    return label;
}
}

TOptionDlg::TOptionDlg(OptionsHost& host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), host_(host)
{
    setObjectName(QStringLiteral("OptionDlg"));
    BuildLayout();
    new DragToMove(this);
    // Where it stays while the main window is not visible.
    CentreDialog(*this, nullptr, DialogSpot::Screen);
}

void TOptionDlg::BuildLayout()
{
    setFont(CaptionFont(11));
    const BitmapList& dlgs = DlgResources->dlgs;
    const BitmapList& opts = DlgResources->opts;

    BackPanel1 = MakeBackPanel(*this, QStringLiteral("BackPanel1"), {497, 416});
    LogoImage = MakeLogo(BackPanel1);
    ProgLabel = MakeTurnedLabel(BackPanel1, QStringLiteral("ProgLabel"), {12, 119, 53, 281}, ArialFont(37, true));
    VersionLabel =
        MakeTurnedLabel(BackPanel1, QStringLiteral("VersionLabel"), {56, 130, 21, 266}, ArialFont(16, true));
    OKBtn = MakePictureButton(BackPanel1, QStringLiteral("OKBtn"), {436, 355}, dlgs, TickUp, TickOver);

    p7 = MakePanel(this, QStringLiteral("p7"), PanelGrade::Inner, {116, 12, 369, 333});
    OptLabel = MakeCaption(p7, QStringLiteral("OptLabel"), {19, 12, 254, 29}, ArialFont(21, true));
    OptLabel->setText(QStringLiteral("Optionen"));

    // Each option: its button, and level with it (17 px lower) its label.
    const QFont labelFont = ArialFont(16);
    auto option = [&](const QString& name, int top, int up, int over, int disabled, int labelWidth,
                      const QString& text, PictureButton*& button, QLabel*& label) {
        button = MakePictureButton(p7, name + QStringLiteral("Btn"), {16, top}, opts, up, over, disabled);
        label = MakeCaption(p7, name + QStringLiteral("Label"), {79, top + 17, labelWidth, 18}, labelFont);
        label->setText(text);
    };
    option(QStringLiteral("Tongue"), 47, LipsUp, LipsOver, -1, 294, QStringLiteral("Ich spreche deutsch"), TongueBtn, TongueLabel);
    option(QStringLiteral("Sound"), 103, LoudspeakerUp, LoudspeakerOver, -1, 294, QStringLiteral("Geräusche"), SoundBtn, SoundLabel);
    option(QStringLiteral("Music"), 159, ClefUp, ClefOver, ClefDisabled, 294, QStringLiteral("Musik"), MusicBtn, MusicLabel);
    option(QStringLiteral("Back"), 215, TextureUp, TextureOver, -1, 290, QStringLiteral("Hintergrund"), BackBtn, BackLabel);

    connect(OKBtn, &QAbstractButton::clicked, this, &TOptionDlg::exitClick);
    connect(TongueBtn, &QAbstractButton::clicked, this, &TOptionDlg::TongueBtnClick);
    connect(SoundBtn, &QAbstractButton::clicked, this, &TOptionDlg::SoundBtnClick);
    connect(MusicBtn, &QAbstractButton::clicked, this, &TOptionDlg::MusicBtnClick);
    connect(BackBtn, &QAbstractButton::clicked, this, &TOptionDlg::BackBtnClick);
}

int TOptionDlg::ShowModal()
{
    UpdateTexts();
    return exec();
}

QString TOptionDlg::MusicText() const
{
    if (!host_.MusicFilesFound())
        return Lang(QStringLiteral("Keine Musikdateien vorhanden."), QStringLiteral("No music files available."));
    if (!host_.MusicAvailable())
        return Lang(QStringLiteral("Musik ist nicht verfügbar."), QStringLiteral("Music is not available."));
    if (MusicOn)
        return Lang(QStringLiteral("Musik: "), QStringLiteral("Music: ")) + host_.MusicFileName();
    return Lang(QStringLiteral("Musik ist aus."), QStringLiteral("Music is off."));
}

void TOptionDlg::UpdateTexts()
{
    ProgLabel->SetCaption(QStringLiteral("Tangrix"));
    VersionLabel->SetCaption(QStringLiteral("Version  V2.1"));
    MusicBtn->setEnabled(host_.MusicFilesFound() && host_.MusicAvailable());

    OKBtn->SetHint(Lang(QStringLiteral("Zurück zum Spiel"), QStringLiteral("Back to game")));
    OptLabel->setText(Lang(QStringLiteral("Einstellungen:"), QStringLiteral("Options:")));
    TongueBtn->SetHint(Lang(QStringLiteral("Sprache ändern"), QStringLiteral("Change language")));
    TongueLabel->setText(Lang(QStringLiteral("Ich spreche deutsch."), QStringLiteral("I speak English.")));
    SoundBtn->SetHint(Lang(QStringLiteral("Geräusche ein- und ausschalten."), QStringLiteral("Sound on or off")));
    SoundLabel->setText(SoundOn ? Lang(QStringLiteral("Geräusche sind an."), QStringLiteral("Sound is on."))
                                : Lang(QStringLiteral("Geräusche sind aus."), QStringLiteral("Sound is off.")));
    MusicBtn->SetHint(Lang(QStringLiteral("Musik ein- und ausschalten."), QStringLiteral("Music on or off.")));
    MusicLabel->setText(MusicText());
    BackBtn->SetHint(Lang(QStringLiteral("Hintergrund ändern"), QStringLiteral("Change background")));
    BackLabel->setText(Lang(QStringLiteral("Hintergrund: "), QStringLiteral("Background: ")) +
                       QString::number(host_.BackMode() + 1));
    UpdateAccessibleTexts();
}

void TOptionDlg::UpdateAccessibleTexts()
{
    setWindowTitle(Lang(QStringLiteral("Einstellungen"), QStringLiteral("Options")));
    SoundBtn->SetName(Lang(QStringLiteral("Geräusche"), QStringLiteral("Sound effects")));
    MusicBtn->SetName(Lang(QStringLiteral("Musik"), QStringLiteral("Music")));
    // The two switches say on or off, as a check box does.
    SoundBtn->SetSwitchState(SoundOn);
    MusicBtn->SetSwitchState(MusicOn && host_.MusicFilesFound());
    // Each button is described by the label beside it, which tells its setting.
    TongueBtn->setAccessibleDescription(TongueLabel->text());
    SoundBtn->setAccessibleDescription(SoundLabel->text());
    MusicBtn->setAccessibleDescription(MusicLabel->text());
    BackBtn->setAccessibleDescription(BackLabel->text());
}

void TOptionDlg::FormActivate()
{
    CentreDialog(*this, host_.MainWindow(), DialogSpot::OverMainWindow);
}

void TOptionDlg::exitClick()
{
    accept();
}

void TOptionDlg::TongueBtnClick()
{
    // C++ remainder keeps the dividend's sign: an unchosen -1 becomes 0.
    Tongue = (Tongue + 1) % 2;
    UpdateTexts();
    host_.ApplyLanguage();
}

void TOptionDlg::SoundBtnClick()
{
    SoundOn = !SoundOn;
    UpdateTexts();
}

void TOptionDlg::MusicBtnClick()
{
    // After a failed open the error box has spoken; the texts stay as they were.
    if (host_.SwitchMusic())
        UpdateTexts();
}

void TOptionDlg::BackBtnClick()
{
    host_.SetBackMode((host_.BackMode() + 1) % BackModeCount);
    host_.Resize();
    host_.ApplyLanguage();
    UpdateTexts();
}

void TOptionDlg::showEvent(QShowEvent* event)
{
    FormActivate();
    KeepPlacementKnown(*this);
    QDialog::showEvent(event);
}

void TOptionDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        exitClick();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
