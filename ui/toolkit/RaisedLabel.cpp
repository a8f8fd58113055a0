#include "ui/toolkit/RaisedLabel.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace {
// Screen readers take a plain widget for a filler; this one is text.
QAccessibleInterface* RaisedLabelFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("RaisedLabel") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StaticText);
    return nullptr;
}
} // namespace

RaisedLabel::RaisedLabel(QWidget* parent) : QWidget(parent)
{
    static const bool accessible = (QAccessible::installFactory(RaisedLabelFactory), true);
    Q_UNUSED(accessible);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RaisedLabel::SetCaption(const QString& caption)
{
    caption_ = caption;
    setAccessibleName(caption);
    updateGeometry();
    update();
}

void RaisedLabel::SetTurned(bool turned)
{
    turned_ = turned;
    updateGeometry();
    update();
}

void RaisedLabel::SetTextColor(QColor color)
{
    textColor_ = color;
    update();
}

void RaisedLabel::SetShadowColor(QColor color)
{
    shadowColor_ = color;
    update();
}

void RaisedLabel::SetDepth(int depth)
{
    depth_ = qMax(0, depth);
    updateGeometry();
    update();
}

void RaisedLabel::SetAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    update();
}

QSize RaisedLabel::sizeHint() const
{
    const QSize text = fontMetrics().size(0, caption_) + QSize(depth_, depth_);
    return turned_ ? text.transposed() : text;
}

void RaisedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    QRect area = rect();
    Qt::Alignment alignment = alignment_;
    if (turned_) {
        // Rotate about the bottom-left corner: the text then runs upwards from
        // there, its top along the label's left edge.
        painter.translate(0, height());
        painter.rotate(-90);
        area = QRect(0, 0, height(), width());
        alignment = Qt::AlignLeft | Qt::AlignTop;
        // Leave room for the shadow, which falls towards the bottom (-u) and right (+v).
        area.adjust(depth_, 0, 0, -depth_);
    } else {
        area.adjust(0, 0, -depth_, -depth_);
    }

    if (depth_ > 0) {
        // The shadow lies down and to the right on screen, whichever way the text runs.
        const QPoint offset = turned_ ? QPoint(-depth_, depth_) : QPoint(depth_, depth_);
        painter.setPen(shadowColor_);
        painter.drawText(area.translated(offset), int(alignment), caption_);
    }
    painter.setPen(textColor_);
    painter.drawText(area, int(alignment), caption_);
}
