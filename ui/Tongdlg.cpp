#include "ui/Tongdlg.h"

#include "assets/DlgRes.h"
#include "settings/Globals.h"
#include "ui/toolkit/DialogPlacement.h"
#include "ui/toolkit/TDragToMove.h"
#include "ui/toolkit/TPictureButton.h"
#include "ui/toolkit/TTexturedPanel.h"
#include "ui/toolkit/TTransparentImage.h"
#include "ui/toolkit/ToolkitFonts.h"

#include <QKeyEvent>
#include <QLabel>

TTongueDlg* TongueDlg = nullptr;

namespace {
TPictureButton* MakeFlagButton(QWidget* parent, const char* name, QPoint at, int up, int over, QColor transparent)
{
    auto* button = new TPictureButton(parent);
    button->setObjectName(QLatin1String(name));
    button->move(at);
    // The flag faces have coloured corners, so white must stay visible on them.
    button->SetTransparentColor(transparent);
    button->SetPictures(DlgResources->dlgs.Item(up), DlgResources->dlgs.Item(over));
    return button;
}

QLabel* MakeChoiceLabel(QWidget* parent, const char* name, const QString& text, QPoint at)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(QRect(at, QSize(190, 18)));
    label->setFont(ArialFont(16));
    QPalette white = label->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(white);
    return label;
}
} // namespace

TTongueDlg::TTongueDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    Q_ASSERT(DlgResources);
    setObjectName(QStringLiteral("TongueDlg"));
    setModal(true);
    setFixedSize(408, 162);
    setFont(CaptionFont(11));

    BackPanel1 = new TTexturedPanel(DlgResources->dlgs.Item(0), this);
    BackPanel1->setObjectName(QStringLiteral("BackPanel1"));
    BackPanel1->setGeometry(0, 0, 408, 162);

    LogoImage = new TTransparentImage(BackPanel1);
    LogoImage->setObjectName(QStringLiteral("LogoImage"));
    LogoImage->setGeometry(0, 12, 105, 77);
    LogoImage->SetPicture(DlgResources->dlgs.Item(2), QColor(255, 0, 255));

    p10 = new TTexturedPanel(DlgResources->dlgs.Item(1), BackPanel1);
    p10->setObjectName(QStringLiteral("p10"));
    p10->setGeometry(108, 12, 289, 137);

    GermanBtn = MakeFlagButton(p10, "GermanBtn", QPoint(16, 15), 7, 8, QColor(0, 0, 255));
    TongueLabel = MakeChoiceLabel(p10, "TongueLabel", QStringLiteral("Ich spreche deutsch"), QPoint(79, 32));
    EnglishBtn = MakeFlagButton(p10, "EnglishBtn", QPoint(16, 71), 9, 10, QColor(0, 255, 0));
    Label1 = MakeChoiceLabel(p10, "Label1", QStringLiteral("I speak English"), QPoint(79, 88));

    // No hints, as the captions say it all; screen readers still get the choice.
    GermanBtn->setAccessibleName(TongueLabel->text());
    EnglishBtn->setAccessibleName(Label1->text());
    connect(GermanBtn, &QAbstractButton::clicked, this, &TTongueDlg::GermanBtnClick);
    connect(EnglishBtn, &QAbstractButton::clicked, this, &TTongueDlg::EnglishBtnClick);
    setTabOrder(GermanBtn, EnglishBtn);
    GermanBtn->installEventFilter(this);
    EnglishBtn->installEventFilter(this);
    new TDragToMove(this);
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
    CentreOnScreen(*this);
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
            if (auto* choice = qobject_cast<TPictureButton*>(watched))
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
