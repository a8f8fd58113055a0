#include "ui/YesNo.h"

#include "assets/DlgRes.h"
#include "settings/Globals.h"
#include "ui/DialogBuilder.h"
#include "ui/toolkit/DialogPlacement.h"
#include "ui/toolkit/DragToMove.h"
#include "ui/toolkit/PictureButton.h"
#include "ui/toolkit/TexturedPanel.h"
#include "ui/toolkit/ToolkitFonts.h"

#include <QKeyEvent>
#include <QLabel>

TYesNoDlg* YesNoDlg = nullptr;

namespace {
struct Message {
    int buttons;  // 1 Yes only, 2 Yes and No
    const char* english;
    const char* german;
};

// Messages 1..14; 10 and 11 have no text and no buttons of their own.
// A line break inside a text is a carriage return.
constexpr Message Messages[] = {
    {1, "Hurrah, you did it!", "Hurra, geschafft!"},
    {2, "Do you really want to give up the level?", "Willst Du die Stufe wirklich aufgeben?"},
    {2, "Do you really want to go?", "Willst Du wirklich schon aufhören?"},
    {2, "Do you really want to give up the game?", "Willst Du die Partie wirklich aufgeben?"},
    {1, "Sorry, you weren't quick enough!", "Du warst leider zu langsam!"},
    {1, "Congratulation, you solved all levels.", "Gratulation, Du hast alle Stufen gelöst."},
    {1, "Sorry, game over!", "Das Spiel ist leider aus."},
    {1, "The next level is waiting!", "Auf zur nächsten Stufe!"},
    {1, "Sorry, that was it!", "Du hast leider verloren!"},
    {0, nullptr, nullptr},
    {0, nullptr, nullptr},
    {1, "Game paused.\rContinue?", "Spiel angehalten.\rWeitermachen?"},
    {2, "That was it!\rRepeat level?", "Leider nein!\rStufe wiederholen?"},
    {2, "Hurrah, you made it!\rContinue with next level?", "Hurra, geschafft!\rMit der nächste Stufe weitermachen?"},
};
constexpr quint32 MessageCount = sizeof(Messages) / sizeof(Messages[0]);

const Message* FindMessage(quint32 n)
{
    return n >= 1 && n <= MessageCount ? &Messages[n - 1] : nullptr;
}

// The label breaks lines at '\n'; the messages carry '\r'.
QString ForLabel(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

TYesNoDlg::TYesNoDlg(QWidget* mainWindow) : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
{
    Q_ASSERT(DlgResources);
    setObjectName(QStringLiteral("YesNoDlg"));
    setModal(true);
    setFont(CaptionFont(11, true));

    BackPanel1 = MakeBackPanel(*this, QStringLiteral("BackPanel1"), {319, 158});
    Pan = MakePanel(this, QStringLiteral("Pan"), PanelGrade::Inner, {11, 12, 298, 77});
    txt = MakeCaption(Pan, QStringLiteral("txt"), {5, 5, 288, 67}, ArialFont(16, true), Qt::AlignCenter);
    txt->setText(QStringLiteral("txt"));
    txt->setWordWrap(true);

    const BitmapList& dlgs = DlgResources->dlgs;
    NoBtn = MakePictureButton(BackPanel1, QStringLiteral("NoBtn"), {204, 100}, dlgs, CrossUp, CrossOver);
    YesBtn = MakePictureButton(BackPanel1, QStringLiteral("YesBtn"), {260, 100}, dlgs, TickUp, TickOver);
    connect(NoBtn, &QAbstractButton::clicked, this, &TYesNoDlg::BnoClick);
    connect(YesBtn, &QAbstractButton::clicked, this, &TYesNoDlg::ByesClick);
    // Tab reaches the buttons, and a screen reader presses them; but a key
    // on a focused button still goes by the answer table: Enter is Yes even
    // on No, and Space presses nothing.
    NoBtn->installEventFilter(this);
    YesBtn->installEventFilter(this);
    // It has no frame to take hold of.
    new DragToMove(this);
}

void TYesNoDlg::SetMainWindow(QWidget* mainWindow)
{
    setParent(mainWindow, windowFlags());
}

QString TYesNoDlg::MessageText(quint32 n)
{
    const Message* message = FindMessage(n);
    if (!message || !message->english)
        return {};
    return Lang(QString::fromUtf8(message->german), QString::fromUtf8(message->english));
}

int TYesNoDlg::ButtonsFor(quint32 n)
{
    const Message* message = FindMessage(n);
    return message ? message->buttons : 0;
}

bool TYesNoDlg::ShowMsg(quint32 n)
{
    if (IsShowing())
        return false;
    MsgNo = n;
    if (const int buttons = ButtonsFor(n))
        ButtonMode = buttons;
    setResult(0);
    exec();
    return true;
}

void TYesNoDlg::showEvent(QShowEvent* event)
{
    FormActivate();
    // The question has the keys, not a button: the answer keys work alike
    // everywhere, and no focus ring suggests that Space would answer.
    setFocus(Qt::OtherFocusReason);
    KeepPlacementKnown(*this);
    QDialog::showEvent(event);
}

void TYesNoDlg::FormActivate()
{
    CentreDialog(*this, parentWidget(), DialogSpot::OverMainWindow);

    // Hidden, the No button leaves its place empty: nothing else moves.
    NoBtn->setVisible(ButtonMode == 2);
    if (MsgNo == 10 || MsgNo == 11)
        txt->setText(ForLabel(CustomText));
    else if (const QString text = MessageText(MsgNo); !text.isNull())
        txt->setText(ForLabel(text));

    // A screen reader names the window by its message, and says how to answer.
    setWindowTitle(txt->text().replace(QLatin1Char('\n'), QLatin1Char(' ')));
    const bool question = ButtonMode == 2;
    setAccessibleDescription(question ? Lang(QStringLiteral("Ja: J, Y oder Eingabe. Nein: N oder Escape."),
                                             QStringLiteral("Yes: Y, J or Enter. No: N or Escape."))
                                      : Lang(QStringLiteral("Weiter mit Eingabe oder Escape."),
                                             QStringLiteral("Go on with Enter or Escape.")));
    YesBtn->SetName(question ? Lang(QStringLiteral("Ja"), QStringLiteral("Yes")) : QStringLiteral("OK"));
    NoBtn->SetName(Lang(QStringLiteral("Nein"), QStringLiteral("No")));
}

void TYesNoDlg::ByesClick()
{
    done(ResultYes);
}

void TYesNoDlg::BnoClick()
{
    done(ResultNo);
}

void TYesNoDlg::reject()
{
    done(ResultNo);
}

bool TYesNoDlg::FormKeyPress(QChar key)
{
    switch (key.unicode()) {
    case 13:
    case u'J':
    case u'Y':
    case u'j':
    case u'y':
        ByesClick();
        return true;
    case 27:
    case u'N':
    case u'n':
        BnoClick();
        return true;
    default:
        return false;
    }
}

bool TYesNoDlg::AnswerKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return FormKeyPress(QChar(13));
    case Qt::Key_Escape:
        return FormKeyPress(QChar(27));
    default:
        // Letters by the character typed, so J and Y work on any keyboard layout.
        return event.text().size() == 1 && FormKeyPress(event.text().front());
    }
}

void TYesNoDlg::keyPressEvent(QKeyEvent* event)
{
    if (!AnswerKey(*event))
        event->ignore();
}

bool TYesNoDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == NoBtn || watched == YesBtn) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
                return false; // moves the focus on
            AnswerKey(*static_cast<QKeyEvent*>(event));
            return true;
        }
        if (event->type() == QEvent::KeyRelease)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
