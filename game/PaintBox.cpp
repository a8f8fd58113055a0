#include "game/PaintBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus); // the board takes the keys of keyboard play
}

void TPaintBox::ResizeCanvas()
{
    if (canvas_.Width() != width() || canvas_.Height() != height())
        canvas_.Resize(width(), height());
}

static qint64 PixelCount(const QRegion& region)
{
    qint64 n = 0;
    for (const QRect& r : region)
        n += qint64(r.width()) * r.height();
    return n;
}

void TPaintBox::Flush()
{
    const QRegion dirty = canvas_.TakeDirty();
    lastFlushPixels_ = PixelCount(dirty);
    if (!dirty.isEmpty())
        update(dirty);
}

void TPaintBox::FlushNow()
{
    const QRegion dirty = canvas_.TakeDirty();
    lastFlushPixels_ = PixelCount(dirty);
    if (!dirty.isEmpty())
        repaint(dirty);
}

void TPaintBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    for (const QRect& r : event->region())
        painter.drawImage(r.topLeft(), canvas_.Image(), r);
}

void TPaintBox::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(event->button(), event->position().toPoint().x(), event->position().toPoint().y());
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event)
{
    if (OnMouseMove)
        OnMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void TPaintBox::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown && OnKeyDown(*event))
        return;
    QWidget::keyPressEvent(event);
}
