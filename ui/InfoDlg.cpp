#include "ui/InfoDlg.h"

#include "assets/DlgRes.h"
#include "settings/Globals.h"
#include "ui/toolkit/DialogPlacement.h"
#include "ui/toolkit/TDragToMove.h"
#include "ui/toolkit/TPictureButton.h"
#include "ui/toolkit/TRaisedLabel.h"
#include "ui/toolkit/TTexturedPanel.h"
#include "ui/toolkit/TTransparentImage.h"
#include "ui/toolkit/ToolkitFonts.h"

#include <QKeyEvent>

TInfoDlg* InfoDlg = nullptr;

namespace {
TRaisedLabel* MakeName(QWidget* parent, const char* name, const QString& text, const QRect& geometry, int pixelSize)
{
    auto* label = new TRaisedLabel(parent);
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
    setFixedSize(360, 170);
    setFont(CaptionFont(11));

    BackPanel1 = new TTexturedPanel(DlgResources->dlgs.Item(0), this);
    BackPanel1->setObjectName(QStringLiteral("BackPanel1"));
    BackPanel1->setGeometry(0, 0, 360, 170);

    // The same corner picture as the language and options dialogs.
    LogoImage = new TTransparentImage(BackPanel1);
    LogoImage->setObjectName(QStringLiteral("LogoImage"));
    LogoImage->setGeometry(0, 12, 105, 77);
    LogoImage->SetPicture(DlgResources->dlgs.Item(2), QColor(255, 0, 255));

    p1 = new TTexturedPanel(DlgResources->dlgs.Item(1), BackPanel1);
    p1->setObjectName(QStringLiteral("p1"));
    p1->setGeometry(116, 12, 233, 88);
    ProgLabel = MakeName(p1, "ProgLabel", QStringLiteral("Tangrix"), QRect(10, 8, 213, 46), 37);
    VersionLabel = MakeName(p1, "VersionLabel", QStringLiteral("Version  V2.1"), QRect(10, 54, 213, 24), 16);

    BackBtn = new TPictureButton(BackPanel1);
    BackBtn->setObjectName(QStringLiteral("BackBtn"));
    BackBtn->move(299, 110);
    BackBtn->SetPictures(DlgResources->dlgs.Item(3), DlgResources->dlgs.Item(4));
    connect(BackBtn, &QAbstractButton::clicked, this, &TInfoDlg::BackBtnClick);
    new TDragToMove(this);
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
    PlaceDialog(*this, parentWidget());
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
