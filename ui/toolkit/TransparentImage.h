#pragma once
// A picture shown at its own size from the widget's top-left corner, with one
// colour left out (the dialogs' cartoon logo on its fuchsia surroundings).
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

class TransparentImage : public QWidget {
    Q_OBJECT
public:
    explicit TransparentImage(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture, QColor transparent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap pixmap_;
};
