#include "ui/toolkit/PictureButton.h"

#include "ui/toolkit/TransparentPixmap.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace {
// The button as screen readers find it: a push button, or a check box for a
// switch, which a screen reader presses as a click would.
class PictureButtonAccessible final : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(PictureButton* button) : QAccessibleWidget(button) {}

    QAccessible::Role role() const override
    {
        return Button()->SwitchState() ? QAccessible::CheckBox : QAccessible::Button;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (const std::optional<bool> on = Button()->SwitchState()) {
            s.checkable = true;
            s.checked = *on;
        }
        s.pressed = Button()->isDown();
        return s;
    }
    QStringList actionNames() const override
    {
        QStringList names;
        if (Button()->isEnabled())
            names << (Button()->SwitchState() ? toggleAction() : pressAction());
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if ((action == pressAction() || action == toggleAction()) && Button()->isEnabled())
            Button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    PictureButton* Button() const { return static_cast<PictureButton*>(widget()); }
};

QAccessibleInterface* PictureButtonFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("PictureButton") && object && object->isWidgetType())
        return new PictureButtonAccessible(static_cast<PictureButton*>(object));
    return nullptr;
}
} // namespace

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent)
{
    static const bool accessible = (QAccessible::installFactory(PictureButtonFactory), true);
    Q_UNUSED(accessible);
    setFixedSize(ButtonSize, ButtonSize);
    // Reachable by Tab, never focused by a click: a clicked button keeping the
    // focus would be pressed again by the next Space, which the board and the
    // dialogs need for themselves.
    setFocusPolicy(Qt::TabFocus);
}

void PictureButton::SetPictures(const QImage& up, const QImage& over, const QImage& disabled)
{
    upPicture_ = up;
    overPicture_ = over.isNull() ? up : over;
    disabledPicture_ = disabled.isNull() ? up : disabled;
    RebuildFaces();
}

void PictureButton::SetTransparentColor(QColor color)
{
    if (color.rgb() == transparent_.rgb())
        return;
    transparent_ = color;
    RebuildFaces();
}

void PictureButton::RebuildFaces()
{
    upFace_ = MaskedPixmap(upPicture_, transparent_);
    overFace_ = MaskedPixmap(overPicture_, transparent_);
    disabledFace_ = MaskedPixmap(disabledPicture_, transparent_);
    update();
}

void PictureButton::SetHint(const QString& hint)
{
    hint_ = hint;
    ApplyHint();
}

void PictureButton::SetShowHint(bool show)
{
    showHint_ = show;
    ApplyHint();
}

void PictureButton::SetName(const QString& name)
{
    name_ = name;
    ApplyHint();
}

void PictureButton::SetSwitchState(bool on)
{
    if (switchState_ == on)
        return;
    switchState_ = on;
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void PictureButton::ApplyHint()
{
    setToolTip(showHint_ ? hint_ : QString());
    setAccessibleName(name_.isEmpty() ? hint_ : name_);
}

PictureButton::Face PictureButton::ShownFace() const
{
    if (!isEnabled())
        return Face::Disabled;
    if (isDown())
        return Face::Up;
    return mouseOver_ ? Face::Over : Face::Up;
}

const QPixmap& PictureButton::FacePixmap(Face face) const
{
    switch (face) {
    case Face::Over:
        return overFace_;
    case Face::Disabled:
        return disabledFace_;
    case Face::Up:
        break;
    }
    return upFace_;
}

void PictureButton::paintEvent(QPaintEvent*)
{
    // No background fill: the transparent corners must show the parent.
    QPainter painter(this);
    painter.drawPixmap(0, 0, FacePixmap(ShownFace()));

    if (hasFocus()) {
        // A dotted ring just inside the rounded frame, black over white so it
        // shows on light and dark faces alike.
        const QRect ring = rect().adjusted(5, 5, -6, -6);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(ring);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(ring);
    }
}

void PictureButton::enterEvent(QEnterEvent* event)
{
    mouseOver_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event)
{
    mouseOver_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    // A button focused earlier by Tab gives the focus up as well: after a
    // click no button of the window holds the keyboard.
    if (auto* focused = qobject_cast<PictureButton*>(window()->focusWidget()))
        focused->clearFocus();
    QAbstractButton::mousePressEvent(event);
}

void PictureButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QAbstractButton::changeEvent(event);
}

void PictureButton::hideEvent(QHideEvent* event)
{
    // A dialog closed by a click on this button is hidden under the mouse and
    // may never get the leave; its next showing must start with the up face.
    mouseOver_ = false;
    QAbstractButton::hideEvent(event);
}
