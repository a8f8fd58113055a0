#pragma once
// Lets the player move a window that has no frame: a press with the left
// button on its background (not on a button or an edit box) and a drag move
// the window. Under Wayland the compositor moves it (a client cannot place
// its windows there); elsewhere the window follows the pointer here.
#include <QObject>
#include <QPoint>
#include <QPointer>

class QMouseEvent;
class QWidget;

class DragToMove : public QObject {
    Q_OBJECT
public:
    // Belongs to the window and lives as long as it does.
    explicit DragToMove(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Press(const QMouseEvent& event);

    QPointer<QWidget> window_;
    // Set while the window follows the pointer here.
    bool following_ = false;
    QPoint pressGlobal_;
    QPoint windowAtPress_;
};
