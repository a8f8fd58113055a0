#include "ui/toolkit/DragToMove.h"

#include "ui/toolkit/WindowSystem.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

DragToMove::DragToMove(QWidget* window) : QObject(window), window_(window)
{
    // Only presses on the background reach the window itself: panels,
    // labels and pictures leave them to their parents, while buttons and
    // edit boxes keep them, also when they are disabled.
    window->installEventFilter(this);
}

bool DragToMove::Press(const QMouseEvent& event)
{
    following_ = false;
    if (event.button() != Qt::LeftButton)
        return false;
    // Where the program cannot place its windows (Wayland) the compositor
    // moves them, and only when asked at the press that begins the move.
    // Elsewhere the window follows the pointer here: Qt 6.4 on X11 tells the
    // window manager where the move starts from its own record of the
    // window's place, which a window manager that has just framed a dialog
    // can leave at 0,0 (under openbox the window jumped away from the pointer).
    if (!ProgramPlacesWindows()) {
        QWindow* handle = window_->windowHandle();
        return handle && handle->startSystemMove();
    }
    following_ = true;
    pressGlobal_ = event.globalPosition().toPoint();
    windowAtPress_ = window_->pos();
    return true;
}

bool DragToMove::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return Press(*static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        if (following_) {
            const auto& move = *static_cast<QMouseEvent*>(event);
            window_->move(windowAtPress_ + move.globalPosition().toPoint() - pressGlobal_);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (following_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            following_ = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
