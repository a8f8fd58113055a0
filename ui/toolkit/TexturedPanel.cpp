#include "ui/toolkit/TexturedPanel.h"

#include <QPainter>
#include <QPixmap>

namespace {
// A raised bevel: lit on the top and left edges, shaded on the bottom and right.
// Returns the rectangle inside it.
QRect DrawRaisedBevel(QPainter& painter, QRect rect, int width)
{
    for (int i = 0; i < width; ++i) {
        painter.setPen(TexturedPanel::BevelLight());
        painter.drawLine(rect.left(), rect.top(), rect.right() - 1, rect.top());
        painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom() - 1);
        painter.setPen(TexturedPanel::BevelShadow());
        painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
        painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
        rect.adjust(1, 1, -1, -1);
    }
    return rect;
}
} // namespace

TexturedPanel::TexturedPanel(QWidget* parent) : QWidget(parent)
{
    setContentsMargins(FrameWidth, FrameWidth, FrameWidth, FrameWidth);
    // The panel covers itself completely; nothing behind needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TexturedPanel::TexturedPanel(const QImage& face, QWidget* parent) : TexturedPanel(parent)
{
    SetFace(face);
}

void TexturedPanel::SetFace(const QImage& face)
{
    face_ = face;
    facePixmap_ = QPixmap::fromImage(face);
    update();
}

QColor TexturedPanel::BevelLight()
{
    return QColor(255, 255, 255);
}

QColor TexturedPanel::BevelShadow()
{
    return QColor(128, 128, 128);
}

void TexturedPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect all = rect();
    if (face_.isNull())
        painter.fillRect(all, palette().button());
    else
        painter.drawTiledPixmap(all, facePixmap_, QPoint(0, 0));

    QRect inside = DrawRaisedBevel(painter, all, OuterBevelWidth);
    for (int i = 0; i < BorderWidth; ++i) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inside.adjusted(0, 0, -1, -1));
        inside.adjust(1, 1, -1, -1);
    }
    DrawRaisedBevel(painter, inside, InnerBevelWidth);
}
