#include "ui/toolkit/DialogPlacement.h"

#include "ui/toolkit/WindowSystem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {
const QString PlacementCheckName = QStringLiteral("placementCheck");

// Watches the dialog's window for its first exposure after a showing.
class TPlacementCheck final : public QObject {
public:
    explicit TPlacementCheck(QWidget& dialog) : QObject(&dialog) { setObjectName(PlacementCheckName); }

    void Arm(QPoint placedAt)
    {
        placedAt_ = placedAt;
        armed_ = true;
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (armed_ && event->type() == QEvent::Expose) {
            auto* window = static_cast<QWindow*>(watched);
            if (window->isExposed()) {
                armed_ = false;
                if (window->position() != placedAt_)
                    window->setPosition(placedAt_);
            }
        }
        return false;
    }

private:
    QPoint placedAt_;
    bool armed_ = false;
};
} // namespace

QPoint PlaceOverMainWindow(const QRect& mainOuter, int mainClientHeight, QSize dialogSize)
{
    // C++ division truncates toward zero, as the halvings require when the
    // main window is smaller than the dialog.
    const int left = mainOuter.left() + (mainOuter.width() - dialogSize.width()) / 2;
    const int top = mainOuter.top() + mainOuter.height() - (mainClientHeight + dialogSize.height()) / 2;
    return {left, top};
}

QPoint PlaceOverMainWindow(const QWidget& mainWindow, QSize dialogSize)
{
    return PlaceOverMainWindow(mainWindow.frameGeometry(), mainWindow.height(), dialogSize);
}

void CentreDialog(QWidget& dialog, const QWidget* mainWindow, DialogSpot spot)
{
    if (!ProgramPlacesWindows())
        return;
    if (spot == DialogSpot::Screen || !mainWindow) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            dialog.move(screen->availableGeometry().center() - dialog.rect().center());
        return;
    }
    if (!mainWindow->isVisible())
        return;
    if (spot == DialogSpot::OverMainWindow) {
        dialog.move(PlaceOverMainWindow(*mainWindow, dialog.frameGeometry().size()));
        return;
    }
    const QRect main = mainWindow->frameGeometry();
    dialog.move(main.left() + (main.width() - dialog.width()) / 2,
                main.top() + (main.height() - dialog.height()) / 2 - 2);
}

void KeepPlacementKnown(QWidget& dialog)
{
    QWindow* window = dialog.windowHandle();
    // Under Wayland the program neither knows nor sets a window's place.
    if (!window || !ProgramPlacesWindows())
        return;
    auto* check = static_cast<TPlacementCheck*>(dialog.findChild<QObject*>(PlacementCheckName, Qt::FindDirectChildrenOnly));
    if (!check) {
        check = new TPlacementCheck(dialog);
        window->installEventFilter(check);
    }
    // Where it is put now is where it must be found once it shows.
    check->Arm(dialog.pos());
}
