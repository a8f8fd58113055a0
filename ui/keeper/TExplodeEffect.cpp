#include "ui/keeper/TExplodeEffect.h"

#include "ui/toolkit/WindowSystem.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPen>

namespace {

int Between(int from, int to, int index)
{
    return from + (to - from) * index / TExplodeEffect::RectangleCount;
}

QRegion Outline(const QRect& rect)
{
    return QRegion(rect).subtracted(QRegion(rect.adjusted(1, 1, -1, -1)));
}

} // namespace

bool TExplodeEffect::Wanted()
{
    if (qEnvironmentVariableIsSet("TANGRIX_NO_SHOW_EFFECT"))
        return false;
    // Under Wayland there are no global positions to draw between.
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal") && ProgramPlacesWindows();
}

void TExplodeEffect::Play(QPoint from, const QRect& to, QWidget* parent)
{
    if (!Wanted() || to.isEmpty())
        return;
    auto* effect = new TExplodeEffect(from, to, parent);
    effect->Start();
}

QRect TExplodeEffect::StepRect(QPoint from, const QRect& to, int index)
{
    // Edges as exclusive right and bottom, so that the last rectangle is
    // exactly the target and the first is a little larger than the point.
    const int left = Between(from.x(), to.x(), index);
    const int top = Between(from.y(), to.y(), index);
    const int right = Between(from.x() + 1, to.x() + to.width(), index);
    const int bottom = Between(from.y() + 1, to.y() + to.height(), index);
    return QRect(QPoint(left, top), QSize(qMax(1, right - left), qMax(1, bottom - top)));
}

TExplodeEffect::TExplodeEffect(QPoint from, const QRect& to, QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                          | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus)
    , m_from(from)
    , m_to(to)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(QRect(from, QSize(1, 1)).united(to));

    m_animation.setStartValue(0);
    m_animation.setEndValue(LastStep);
    m_animation.setDuration(DurationMs);
    connect(&m_animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { SetStep(value.toInt()); });
    connect(&m_animation, &QVariantAnimation::finished, this, &QWidget::close);
}

void TExplodeEffect::Start()
{
    m_animation.start();
}

QRegion TExplodeEffect::VisibleOutlines() const
{
    QRegion outlines;
    const int first = qMax(1, m_step - RectangleCount + 1);
    const int last = qMin(m_step, RectangleCount);
    for (int index = first; index <= last; ++index)
        outlines += Outline(StepRect(m_from, m_to, index));
    return outlines;
}

void TExplodeEffect::SetStep(int step)
{
    m_step = qBound(0, step, LastStep);
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

void TExplodeEffect::paintEvent(QPaintEvent*)
{
    // Black dots on white, like a focus rectangle: visible on any background.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    const QPoint origin = geometry().topLeft();
    const int first = qMax(1, m_step - RectangleCount + 1);
    const int last = qMin(m_step, RectangleCount);
    for (int index = first; index <= last; ++index) {
        const QRect r = StepRect(m_from, m_to, index).translated(-origin);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
}
