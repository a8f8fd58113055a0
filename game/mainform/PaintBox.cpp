#include "game/mainform/PaintBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

PaintBox::PaintBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus); // the board takes the keys of keyboard play
}

int PaintBox::DeviceScale() const
{
    return std::max(1, int(std::ceil(devicePixelRatioF() - 0.01)));
}

void PaintBox::ResizeCanvas()
{
    const int scale = DeviceScale();
    if (canvas_.Width() != width() || canvas_.Height() != height() || canvas_.Scale() != scale)
        canvas_.Resize(width(), height(), scale);
}

static qint64 PixelCount(const QRegion& region)
{
    qint64 n = 0;
    for (const QRect& r : region)
        n += qint64(r.width()) * r.height();
    return n;
}

void PaintBox::Flush()
{
    const QRegion dirty = canvas_.TakeDirty();
    lastFlush_ = dirty;
    lastFlushPixels_ = PixelCount(dirty);
    if (!dirty.isEmpty())
        update(dirty);
}

void PaintBox::FlushNow()
{
    const QRegion dirty = canvas_.TakeDirty();
    lastFlush_ = dirty;
    lastFlushPixels_ = PixelCount(dirty);
    if (!dirty.isEmpty())
        repaint(dirty);
}

void PaintBox::paintEvent(QPaintEvent* event)
{
    if (canvas_.Scale() != DeviceScale() && OnScaleChange)
        QMetaObject::invokeMethod(this, [this] { if (OnScaleChange) OnScaleChange(); }, Qt::QueuedConnection);
    QPainter painter(this);
    const int s = canvas_.Scale();
    for (const QRect& r : event->region())
        painter.drawImage(QRectF(r), canvas_.Image(), QRectF(r.x() * s, r.y() * s, r.width() * s, r.height() * s));
}

void PaintBox::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(event->button(), event->position().toPoint().x(), event->position().toPoint().y());
}

void PaintBox::mouseMoveEvent(QMouseEvent* event)
{
    if (OnMouseMove)
        OnMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void PaintBox::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (OnFocusChange)
        OnFocusChange();
}

void PaintBox::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (OnFocusChange)
        OnFocusChange();
}

void PaintBox::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown && OnKeyDown(*event))
        return;
    QWidget::keyPressEvent(event);
}
