#pragma once
// The information window of the info button: the product's name and version
// on the dialogs' granite, and a tick button back to the game.
#include <QDialog>

class PictureButton;
class RaisedLabel;
class TexturedPanel;
class TransparentImage;

class TInfoDlg : public QDialog {
    Q_OBJECT
public:
    explicit TInfoDlg(QWidget* mainWindow = nullptr);

    // The window the dialog belongs to and centres itself over; without one
    // it centres on the screen.
    void SetMainWindow(QWidget* mainWindow);

    TexturedPanel* BackPanel1 = nullptr;
    TransparentImage* LogoImage = nullptr;
    TexturedPanel* p1 = nullptr;
    RaisedLabel* ProgLabel = nullptr;
    RaisedLabel* VersionLabel = nullptr;
    PictureButton* BackBtn = nullptr;

public slots:
    void BackBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormActivate();
};

// Created by the program entry; lives until the end.
extern TInfoDlg* InfoDlg;
