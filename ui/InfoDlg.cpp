#include "ui/InfoDlg.h"

#include "assets/DlgRes.h"
#include "settings/Globals.h"
#include "ui/DialogBuilder.h"
#include "ui/toolkit/DialogPlacement.h"
#include "ui/toolkit/DragToMove.h"
#include "ui/toolkit/PictureButton.h"
#include "ui/toolkit/RaisedLabel.h"
#include "ui/toolkit/TexturedPanel.h"
#include "ui/toolkit/TransparentImage.h"
#include "ui/toolkit/ToolkitFonts.h"

#include <QKeyEvent>

TInfoDlg* InfoDlg = nullptr;

namespace {
RaisedLabel* MakeName(QWidget* parent, const char* name, const QString& text, const QRect& geometry, int pixelSize)
{
    auto* label = new RaisedLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(ArialFont(pixelSize, true));
    label->SetAlignment(Qt::AlignCenter);
    label->SetCaption(text);
    return label;
}
} // namespace

TInfoDlg::TInfoDlg(QWidget* mainWindow) : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
{
    Q_ASSERT(DlgResources);
    setObjectName(QStringLiteral("InfoDlg"));
    setModal(true);
    setFont(CaptionFont(11));

    BackPanel1 = MakeBackPanel(*this, QStringLiteral("BackPanel1"), {360, 170});
    LogoImage = MakeLogo(BackPanel1);
    p1 = MakePanel(BackPanel1, QStringLiteral("p1"), PanelGrade::Inner, {116, 12, 233, 88});
    ProgLabel = MakeName(p1, "ProgLabel", QStringLiteral("Tangrix"), QRect(10, 8, 213, 46), 37);
    VersionLabel = MakeName(p1, "VersionLabel", QStringLiteral("Version  V2.1"), QRect(10, 54, 213, 24), 16);

    BackBtn = MakePictureButton(BackPanel1, QStringLiteral("BackBtn"), {299, 110}, DlgResources->dlgs, TickUp, TickOver);
    connect(BackBtn, &QAbstractButton::clicked, this, &TInfoDlg::BackBtnClick);
    new DragToMove(this);
}

void TInfoDlg::SetMainWindow(QWidget* mainWindow)
{
    setParent(mainWindow, windowFlags());
}

void TInfoDlg::BackBtnClick()
{
    accept();
}

void TInfoDlg::showEvent(QShowEvent* event)
{
    FormActivate();
    KeepPlacementKnown(*this);
    QDialog::showEvent(event);
}

void TInfoDlg::FormActivate()
{
    CentreDialog(*this, parentWidget(), DialogSpot::OverMainWindow);
    setWindowTitle(Lang(QStringLiteral("Über Tangrix"), QStringLiteral("About Tangrix")));
    BackBtn->SetHint(Lang(QStringLiteral("Zurück zum Spiel"), QStringLiteral("Back to the game")));
    BackBtn->setFocus();
}

void TInfoDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter anywhere goes back to the game, like Escape (handled by the base).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
