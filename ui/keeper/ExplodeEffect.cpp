#include "ui/keeper/ExplodeEffect.h"

#include "ui/toolkit/WindowSystem.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPen>

namespace {

int Between(int from, int to, int index)
{
    return from + (to - from) * index / ExplodeEffect::RectangleCount;
}

QRegion Outline(const QRect& rect)
{
    return QRegion(rect).subtracted(QRegion(rect.adjusted(1, 1, -1, -1)));
}

} // namespace

bool ExplodeEffect::Wanted()
{
    if (qEnvironmentVariableIsSet("TANGRIX_NO_SHOW_EFFECT"))
        return false;
    // Under Wayland there are no global positions to draw between.
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal") && ProgramPlacesWindows();
}

void ExplodeEffect::Play(QPoint from, const QRect& to, QWidget* parent)
{
    if (!Wanted() || to.isEmpty())
        return;
    auto* effect = new ExplodeEffect(from, to, parent);
    effect->Start();
}

QRect ExplodeEffect::StepRect(QPoint from, const QRect& to, int index)
{
    // Edges as exclusive right and bottom, so that the last rectangle is
    // exactly the target and the first is a little larger than the point.
    const int left = Between(from.x(), to.x(), index);
    const int top = Between(from.y(), to.y(), index);
    const int right = Between(from.x() + 1, to.x() + to.width(), index);
    const int bottom = Between(from.y() + 1, to.y() + to.height(), index);
    return QRect(QPoint(left, top), QSize(qMax(1, right - left), qMax(1, bottom - top)));
}

ExplodeEffect::ExplodeEffect(QPoint from, const QRect& to, QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                          | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus)
    , from_(from)
    , to_(to)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(QRect(from, QSize(1, 1)).united(to));

    animation_.setStartValue(0);
    animation_.setEndValue(LastStep);
    animation_.setDuration(DurationMs);
    connect(&animation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { SetStep(value.toInt()); });
    connect(&animation_, &QVariantAnimation::finished, this, &QWidget::close);
}

void ExplodeEffect::Start()
{
    animation_.start();
}

QRegion ExplodeEffect::VisibleOutlines() const
{
    QRegion outlines;
    const int first = qMax(1, step_ - RectangleCount + 1);
    const int last = qMin(step_, RectangleCount);
    for (int index = first; index <= last; ++index)
        outlines += Outline(StepRect(from_, to_, index));
    return outlines;
}

void ExplodeEffect::SetStep(int step)
{
    step_ = qBound(0, step, LastStep);
    const QRegion outlines = VisibleOutlines();
    // An empty mask would show the whole overlay, so hide it instead.
    if (outlines.isEmpty()) {
        hide();
        return;
    }
    setMask(outlines.translated(-geometry().topLeft()));
    if (!isVisible())
        show();
    update();
}

void ExplodeEffect::paintEvent(QPaintEvent*)
{
    // Black dots on white, like a focus rectangle: visible on any background.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    const QPoint origin = geometry().topLeft();
    const int first = qMax(1, step_ - RectangleCount + 1);
    const int last = qMin(step_, RectangleCount);
    for (int index = first; index <= last; ++index) {
        const QRect r = StepRect(from_, to_, index).translated(-origin);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
}
