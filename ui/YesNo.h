#pragma once
// The game's one modal message box: a numbered message in the current
// language with a Yes button and, for questions, a No button. The caller
// shows a message with ShowMsg and then reads ModalResult(): 6 Yes, 7 No.
// It is a child of the main window, so the window system keeps it over it.
#include <QDialog>
#include <QString>

class QLabel;
class PictureButton;
class TexturedPanel;

class TYesNoDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResultYes = 6;
    static constexpr int ResultNo = 7;

    explicit TYesNoDlg(QWidget* mainWindow = nullptr);

    // The window the dialog belongs to and centres itself over; without one
    // it centres on the screen.
    void SetMainWindow(QWidget* mainWindow);

    // Shows message n modally and returns when it has closed. Returns false,
    // changing nothing, when the dialog is open already: a dialog cannot be
    // shown modally twice, and the open question must keep its text and answer.
    bool ShowMsg(quint32 n);
    // 6 for Yes, 7 for No (also when closed by the window system); 0 before any answer.
    int ModalResult() const { return result(); }
    bool IsShowing() const { return isVisible(); }

    // The text of message n in the current language; a null string for
    // numbers without a text of their own (10 and 11 show CustomText).
    static QString MessageText(quint32 n);
    // 1 Yes only, 2 Yes and No, 0 for numbers that leave the buttons as they were.
    static int ButtonsFor(quint32 n);

    // Answers a character key: Enter, J, Y -> Yes; Escape, N -> No. Returns
    // false (and the dialog stays open) for any other key.
    bool FormKeyPress(QChar key);

    quint32 MsgNo = 0;
    int ButtonMode = 0;
    QString CustomText;

    TexturedPanel* BackPanel1 = nullptr;
    TexturedPanel* Pan = nullptr;
    QLabel* txt = nullptr;
    PictureButton* NoBtn = nullptr;
    PictureButton* YesBtn = nullptr;

public slots:
    void ByesClick();
    void BnoClick();
    // Closing by the window system or Escape counts as No.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormActivate();
    bool AnswerKey(const QKeyEvent& event);
};

// Created by the program entry; lives until the end.
extern TYesNoDlg* YesNoDlg;
