#include "ui/toolkit/TTransparentImage.h"

#include "ui/toolkit/TransparentPixmap.h"

#include <QPainter>

TTransparentImage::TTransparentImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TTransparentImage::SetPicture(const QImage& picture, QColor transparent)
{
    pixmap_ = MaskedPixmap(picture, transparent);
    update();
}

void TTransparentImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, pixmap_);
}
