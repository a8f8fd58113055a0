#pragma once
// A paint box: a widget that shows a canvas. Drawing goes to the canvas at
// once; the widget copies only the changed part of it to the screen.
#include <QWidget>
#include <functional>

#include "game/mainform/Canvas.h"

class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);

    PixelCanvas& Canvas() { return canvas_; }
    // Makes the canvas as large as the widget, at the screen's pixel density
    // (a fresh, black canvas); nothing happens when both are unchanged.
    void ResizeCanvas();

    // Sends what the canvas changed to the screen: at the next frame, or at
    // once (for animations that block the event loop).
    void Flush();
    void FlushNow();
    // What the last flush sent, and its number of pixels (for tests and the benchmark).
    const QRegion& LastFlushRegion() const { return lastFlush_; }
    qint64 LastFlushPixels() const { return lastFlushPixels_; }

    std::function<void(Qt::MouseButton, int x, int y)> OnMouseDown;
    std::function<void(int x, int y)> OnMouseMove;
    // Gives a key to the owner first; true when it was used.
    std::function<bool(const QKeyEvent& event)> OnKeyDown;
    // The keyboard focus came or went.
    std::function<void()> OnFocusChange;
    // The widget moved to a screen of another pixel density: the canvas must be made anew.
    std::function<void()> OnScaleChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Device pixels per logical pixel for the canvas: whole, so that copies stay exact.
    int DeviceScale() const;

    PixelCanvas canvas_;
    QRegion lastFlush_;
    qint64 lastFlushPixels_ = 0;
};
