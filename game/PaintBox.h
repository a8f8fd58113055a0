#pragma once
// A paint box: a widget that shows a canvas. Drawing goes to the canvas at
// once; the widget copies only the changed part of it to the screen.
#include <QWidget>
#include <functional>

#include "game/Canvas.h"

class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr);

    TCanvas& Canvas() { return canvas_; }
    // Makes the canvas as large as the widget (a fresh, black canvas).
    void ResizeCanvas();

    // Sends what the canvas changed to the screen: at the next frame, or at
    // once (for animations that block the event loop).
    void Flush();
    void FlushNow();
    // The number of pixels the last flush sent (for the benchmark).
    qint64 LastFlushPixels() const { return lastFlushPixels_; }

    std::function<void(Qt::MouseButton, int x, int y)> OnMouseDown;
    std::function<void(int x, int y)> OnMouseMove;
    // Gives a key to the owner first; true when it was used.
    std::function<bool(const QKeyEvent& event)> OnKeyDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TCanvas canvas_;
    qint64 lastFlushPixels_ = 0;
};
