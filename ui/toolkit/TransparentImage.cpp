#include "ui/toolkit/TransparentImage.h"

#include "ui/toolkit/TransparentPixmap.h"

#include <QPainter>

TransparentImage::TransparentImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TransparentImage::SetPicture(const QImage& picture, QColor transparent)
{
    pixmap_ = MaskedPixmap(picture, transparent);
    update();
}

void TransparentImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, pixmap_);
}
