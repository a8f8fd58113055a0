#pragma once
// The opening effect of the main window: 40 dotted rectangles grow from the
// mouse pointer to the window's rectangle and vanish again in the same order,
// in a frameless, click-through overlay shaped to the outlines so that it
// needs no compositing. It runs on an animation timer and never holds up the
// event loop.
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QVariantAnimation>
#include <QWidget>

class ExplodeEffect : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RectangleCount = 40;
    // Growing and vanishing together take this long.
    static constexpr int DurationMs = 220;

    // Plays the effect once where it can be seen; the overlay deletes itself.
    // The parent only ties the overlay's life to the window's.
    static void Play(QPoint from, const QRect& to, QWidget* parent);

    // False on platforms without a real desktop (offscreen, minimal), on
    // Wayland (no global window positions) and when TANGRIX_NO_SHOW_EFFECT is
    // set.
    static bool Wanted();

    // Rectangle 1..RectangleCount on the way from the point to the target.
    static QRect StepRect(QPoint from, const QRect& to, int index);

    ExplodeEffect(QPoint from, const QRect& to, QWidget* parent = nullptr);

    // Steps 1..RectangleCount draw rectangle after rectangle, the following
    // ones take them away again, first drawn first gone.
    static constexpr int LastStep = 2 * RectangleCount;
    void SetStep(int step);
    int Step() const { return step_; }

    // The outlines on screen at the current step, in global coordinates.
    QRegion VisibleOutlines() const;

    void Start();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint from_;
    QRect to_;
    int step_ = 0;
    QVariantAnimation animation_;
};
