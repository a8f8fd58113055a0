#pragma once
// The options window: language, sound effects, music and background. Every
// press changes the setting at once, in memory, and re-words the window;
// there is no cancel. The settings reach the store when the program closes.
#include <QDialog>

class QLabel;
class OptionsHost;
class PictureButton;
class RaisedLabel;
class TexturedPanel;
class TransparentImage;

class TOptionDlg : public QDialog {
    Q_OBJECT
public:
    // parent: the main window, which the window system keeps it over.
    explicit TOptionDlg(OptionsHost& host, QWidget* parent = nullptr);

    // Words the window for the current settings, then shows it modally.
    int ShowModal();

    // Every text, hint and the music button's state from the current settings.
    void UpdateTexts();
    // Centres the window over the main window's client area, when that is visible.
    void FormActivate();

    void exitClick();
    void TongueBtnClick();
    void SoundBtnClick();
    void MusicBtnClick();
    void BackBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    QString MusicText() const;
    // Names, states and descriptions for screen readers, from the texts just set.
    void UpdateAccessibleTexts();

    OptionsHost& host_;

    TexturedPanel* BackPanel1 = nullptr;
    TransparentImage* LogoImage = nullptr;
    RaisedLabel* ProgLabel = nullptr;
    RaisedLabel* VersionLabel = nullptr;
    PictureButton* OKBtn = nullptr;
    TexturedPanel* p7 = nullptr;
    QLabel* OptLabel = nullptr;
    PictureButton* TongueBtn = nullptr;
    QLabel* TongueLabel = nullptr;
    PictureButton* SoundBtn = nullptr;
    QLabel* SoundLabel = nullptr;
    PictureButton* MusicBtn = nullptr;
    QLabel* MusicLabel = nullptr;
    PictureButton* BackBtn = nullptr;
    QLabel* BackLabel = nullptr;
};

// The one options window, made by the program entry after the main window.
extern TOptionDlg* OptionDlg;
