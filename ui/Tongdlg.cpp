#include "ui/Tongdlg.h"

#include "assets/DlgRes.h"
#include "settings/Globals.h"
#include "ui/DialogBuilder.h"
#include "ui/toolkit/DialogPlacement.h"
#include "ui/toolkit/DragToMove.h"
#include "ui/toolkit/PictureButton.h"
#include "ui/toolkit/TexturedPanel.h"
#include "ui/toolkit/TransparentImage.h"
#include "ui/toolkit/ToolkitFonts.h"

#include <QKeyEvent>
#include <QLabel>

TTongueDlg* TongueDlg = nullptr;

namespace {
PictureButton* MakeFlagButton(QWidget* parent, const QString& name, QPoint at, int up, int over, QColor transparent)
{
    PictureButton* button = MakePictureButton(parent, name, at, DlgResources->dlgs, up, over);
    // The flag faces have coloured corners, so white must stay visible on them.
    button->SetTransparentColor(transparent);
    return button;
}

QLabel* MakeChoiceLabel(QWidget* parent, const QString& name, const QString& text, QPoint at)
{
    QLabel* label = MakeCaption(parent, name, QRect(at, QSize(190, 18)), ArialFont(16), Qt::AlignLeft | Qt::AlignVCenter);
    label->setText(text);
    return label;
}
} // namespace

TTongueDlg::TTongueDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    Q_ASSERT(DlgResources);
    setObjectName(QStringLiteral("TongueDlg"));
    setModal(true);
    setFont(CaptionFont(11));

    BackPanel1 = MakeBackPanel(*this, QStringLiteral("BackPanel1"), {408, 162});
    LogoImage = MakeLogo(BackPanel1);
    p10 = MakePanel(BackPanel1, QStringLiteral("p10"), PanelGrade::Inner, {108, 12, 289, 137});

    GermanBtn = MakeFlagButton(p10, QStringLiteral("GermanBtn"), {16, 15}, GermanFlagUp, GermanFlagOver, QColor(0, 0, 255));
    TongueLabel = MakeChoiceLabel(p10, QStringLiteral("TongueLabel"), QStringLiteral("Ich spreche deutsch"), {79, 32});
    EnglishBtn = MakeFlagButton(p10, QStringLiteral("EnglishBtn"), {16, 71}, EnglishFlagUp, EnglishFlagOver, QColor(0, 255, 0));
    Label1 = MakeChoiceLabel(p10, QStringLiteral("Label1"), QStringLiteral("I speak English"), {79, 88});

    // No hints, as the captions say it all; screen readers still get the choice.
    GermanBtn->setAccessibleName(TongueLabel->text());
    EnglishBtn->setAccessibleName(Label1->text());
    connect(GermanBtn, &QAbstractButton::clicked, this, &TTongueDlg::GermanBtnClick);
    connect(EnglishBtn, &QAbstractButton::clicked, this, &TTongueDlg::EnglishBtnClick);
    setTabOrder(GermanBtn, EnglishBtn);
    GermanBtn->installEventFilter(this);
    EnglishBtn->installEventFilter(this);
    new DragToMove(this);
}

void TTongueDlg::GermanBtnClick()
{
    Tongue = 1;
    accept();
}

void TTongueDlg::EnglishBtnClick()
{
    Tongue = 0;
    accept();
}

void TTongueDlg::showEvent(QShowEvent* event)
{
    // No language is chosen yet: the window is named in both.
    setWindowTitle(QStringLiteral("Sprache – Language"));
    CentreDialog(*this, nullptr, DialogSpot::Screen);
    GermanBtn->setFocus();
    KeepPlacementKnown(*this);
    QDialog::showEvent(event);
}

bool TTongueDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Up and Down move between the two choices as they stand on the screen;
    // Enter, like Space, takes the choice that has the focus. Nothing else
    // can have been clicked before, as a click closes the dialog.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto* choice = qobject_cast<PictureButton*>(watched))
                choice->click();
            return true;
        }
        if (key == Qt::Key_Up) {
            GermanBtn->setFocus(Qt::BacktabFocusReason);
            return true;
        }
        if (key == Qt::Key_Down) {
            EnglishBtn->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
