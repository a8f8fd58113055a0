#pragma once
// Asks for the language at the first start: one button for German, one for
// English, each beside a caption in its own language. A button sets Tongue
// and closes; closing otherwise leaves Tongue as it was. Shown over the main
// window, whose child it is.
#include <QDialog>

class QLabel;
class PictureButton;
class TexturedPanel;
class TransparentImage;

class TTongueDlg : public QDialog {
    Q_OBJECT
public:
    explicit TTongueDlg(QWidget* parent = nullptr);

    TexturedPanel* BackPanel1 = nullptr;
    TransparentImage* LogoImage = nullptr;
    TexturedPanel* p10 = nullptr;
    PictureButton* GermanBtn = nullptr;
    QLabel* TongueLabel = nullptr;
    PictureButton* EnglishBtn = nullptr;
    QLabel* Label1 = nullptr;

public slots:
    void GermanBtnClick();
    void EnglishBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Created by the program entry; lives until the end.
extern TTongueDlg* TongueDlg;
