#include "ui/toolkit/DialogPlacement.h"

#include "ui/toolkit/WindowSystem.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace {
const QString PlacementCheckName = QStringLiteral("placementCheck");

// Keeps a dialog where its rule puts it until it has come onto the screen.
// The window system maps and frames a new window in its own time: a size
// that settles after the dialog was placed (a layout run late, a scale
// applied on the way) would leave it where a smaller window belongs, and a
// window manager that frames it may record it at 0,0. So the place is
// computed again from the size the dialog has at each step: when its size
// changes before it shows, and when it is first exposed.
class PlacementCheck final : public QObject {
public:
    explicit PlacementCheck(QWidget& dialog) : QObject(&dialog), dialog_(dialog)
    {
        setObjectName(PlacementCheckName);
        dialog.installEventFilter(this);
    }

    void SetRule(std::function<QPoint()> where) { where_ = std::move(where); }

    // Where the dialog belongs now: by its rule, or where it was put.
    QPoint Place() const { return where_ ? where_() : dialog_.pos(); }

    void Arm()
    {
        armed_ = true;
        WatchWindow();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!armed_)
            return false;
        if (watched == &dialog_ && (event->type() == QEvent::Show || event->type() == QEvent::Resize)) {
            // A size that changes before the dialog is on the screen moves
            // the place with it (a hidden dialog's resize is told at its show).
            WatchWindow();
            if (const QPoint place = Place(); dialog_.pos() != place)
                dialog_.move(place);
        } else if (watched == watched_ && event->type() == QEvent::Expose && watched_->isExposed()) {
            armed_ = false;
            const QPoint place = Place();
            if (dialog_.pos() != place)
                dialog_.move(place);
            if (watched_->framePosition() != place)
                watched_->setFramePosition(place);
        }
        return false;
    }

private:
    // The native window exists from the dialog's first showing on.
    void WatchWindow()
    {
        if (QWindow* window = dialog_.windowHandle(); window && window != watched_) {
            window->installEventFilter(this);
            watched_ = window;
        }
    }

    QWidget& dialog_;
    QPointer<QWindow> watched_;
    std::function<QPoint()> where_;
    bool armed_ = false;
};

PlacementCheck& CheckOf(QWidget& dialog)
{
    auto* check = static_cast<PlacementCheck*>(dialog.findChild<QObject*>(PlacementCheckName, Qt::FindDirectChildrenOnly));
    return check ? *check : *new PlacementCheck(dialog);
}
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

QSize FinalFrameSize(QWidget& dialog)
{
    // A window never given a size takes the one its layout asks for now,
    // not at its first showing: placed from a size of 0 it would open with
    // its corner where its centre belongs.
    dialog.ensurePolished();
    if (!dialog.testAttribute(Qt::WA_Resized))
        dialog.adjustSize();
    const QSize client = dialog.size().expandedTo(dialog.minimumSize());
    const QSize frame = dialog.frameGeometry().size();
    return frame.expandedTo(client);
}

void KeepPlaced(QWidget& dialog, std::function<QPoint()> where)
{
    if (!ProgramPlacesWindows())
        return;
    PlacementCheck& check = CheckOf(dialog);
    check.SetRule(std::move(where));
    dialog.move(check.Place());
}

void CentreDialog(QWidget& dialog, const QWidget* mainWindow, DialogSpot spot)
{
    KeepPlaced(dialog, [&dialog, spot, main = QPointer<const QWidget>(mainWindow)] {
        const QSize size = FinalFrameSize(dialog);
        if (spot == DialogSpot::Screen || !main) {
            const QScreen* screen = QGuiApplication::primaryScreen();
            if (!screen)
                return dialog.pos();
            return screen->availableGeometry().center() - QPoint((size.width() - 1) / 2, (size.height() - 1) / 2);
        }
        // Over a hidden main window there is nowhere to be: it stays.
        if (!main->isVisible())
            return dialog.pos();
        if (spot == DialogSpot::OverMainWindow)
            return PlaceOverMainWindow(*main, size);
        const QRect outer = main->frameGeometry();
        return QPoint(outer.left() + (outer.width() - size.width()) / 2,
                      outer.top() + (outer.height() - size.height()) / 2 - 2);
    });
}

void KeepPlacementKnown(QWidget& dialog)
{
    // Under Wayland the program neither knows nor sets a window's place.
    if (!ProgramPlacesWindows())
        return;
    CheckOf(dialog).Arm();
}
