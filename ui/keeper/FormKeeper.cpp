#include "ui/keeper/FormKeeper.h"

#include "settings/ProgramSettings.h"
#include "settings/TIniCtrl.h"
#include "settings/WindowPlacement.h"
#include "ui/keeper/ExplodeEffect.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <utility>

namespace {

// Where windows may go: every screen, less the panels of the desktop.
QRect DesktopRect(const QWidget& form)
{
    const QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableVirtualGeometry() : QRect();
}

QRect PrimaryScreenRect()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

// Windows numbering of the window's state, as the placement value keeps it.
void DescribeState(const QWidget& form, WindowPlacement& placement)
{
    const Qt::WindowStates state = form.windowState();
    placement.flags = state.testFlag(Qt::WindowMaximized) ? WindowPlacement::RestoreToMaximized
                                                          : WindowPlacement::NoFlags;
    if (state.testFlag(Qt::WindowMinimized))
        placement.showCmd = WindowPlacement::ShowMinimized;
    else if (state.testFlag(Qt::WindowMaximized))
        placement.showCmd = WindowPlacement::ShowMaximized;
    else
        placement.showCmd = WindowPlacement::ShowNormal;
}

} // namespace

FormKeeper::FormKeeper(QWidget* form, TIniCtrl& ini, bool placesWindows)
    : QObject(form)
    , form_(form)
    , ini_(ini)
    , placesWindows_(placesWindows)
{
    form->installEventFilter(this);
}

QMargins FormKeeper::Frame() const
{
    if (!form_ || !form_->isVisible())
        return {};
    return FrameMargins(form_->frameGeometry(), form_->geometry());
}

void FormKeeper::UpdateMinimumSize()
{
    const QMargins frame = Frame();
    // Resizes before the first showing are the program's own layout.
    if (frame.isNull() && !unframedSmallest_.isValid() && !form_->isVisible())
        return;
    QSize smallest;
    if (!frame.isNull()) {
        smallest = SmallestOuterSize.shrunkBy(frame).expandedTo(QSize(0, 0));
    } else {
        if (!unframedSmallest_.isValid())
            unframedSmallest_ = SmallestOuterSize.boundedTo(form_->size());
        smallest = unframedSmallest_;
    }
    if (form_->minimumSize() != smallest)
        form_->setMinimumSize(smallest);
}

QRect FormKeeper::OnDesktop(const QRect& outer, const QMargins& frame) const
{
    // The smallest size the window will really have: a stored rectangle
    // smaller than that is shown larger, and must be kept on the desktop at
    // that larger size.
    const QSize smallest = frame.isNull() ? unframedSmallest_ : SmallestOuterSize;
    return FitToDesktop(outer, DesktopRect(*form_), smallest).marginsRemoved(frame);
}

void FormKeeper::RestorePlacement()
{
    if (!form_)
        return;
    if (!unframedSmallest_.isValid())
        unframedSmallest_ = SmallestOuterSize.boundedTo(form_->size());
    const QMargins frame = Frame();
    const QString stored = ini_.ReadString(CommonSection(), PlacementKey(), QString());
    const std::optional<WindowPlacement> placement = ParsePlacement(stored);

    if (!placesWindows_) {
        storedTopLeft_ = placement ? std::optional(placement->NormalRect().topLeft()) : std::nullopt;
        if (placement)
            SetNormalGeometry(QRect(form_->pos(), OnDesktop(placement->NormalRect(), QMargins()).size()));
        UpdateMinimumSize();
        placed_ = Placed::Final;
        return;
    }

    QRect normal;
    if (placement) {
        normal = OnDesktop(placement->NormalRect().marginsAdded(frame), frame);
        placed_ = Placed::Restored;
    } else {
        const QSize size = form_->isMaximized() ? form_->normalGeometry().size() : form_->size();
        const QPoint outerTopLeft = CentredTopLeft(PrimaryScreenRect(), size.grownBy(frame));
        normal = QRect(outerTopLeft + QPoint(frame.left(), frame.top()), size);
        placed_ = Placed::Centred;
    }
    UpdateMinimumSize();
    SetNormalGeometry(normal);
    if (!frame.isNull())
        placed_ = Placed::Final;
}

void FormKeeper::SetNormalGeometry(const QRect& normal)
{
    // Qt has no way to set the normal rectangle of a maximised window other
    // than to leave the maximised state for a moment.
    const Qt::WindowStates state = form_->windowState();
    const bool leaveState = state.testAnyFlags(Qt::WindowMaximized | Qt::WindowFullScreen);
    if (leaveState)
        form_->setWindowState(state & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    form_->setGeometry(normal);
    if (leaveState)
        form_->setWindowState(state);
}

void FormKeeper::PlaceWithFrame()
{
    const QMargins frame = Frame();
    if (frame.isNull())
        return;
    const Placed placed = std::exchange(placed_, Placed::Final);
    UpdateMinimumSize();
    // A maximised window keeps its normal rectangle for later, as restored.
    const Qt::WindowStates sized = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (placed == Placed::Final || form_->windowState() & sized)
        return;

    QRect outer = form_->frameGeometry();
    if (placed == Placed::Centred)
        outer.moveTopLeft(CentredTopLeft(PrimaryScreenRect(), outer.size()));
    const QRect normal = OnDesktop(outer, frame);
    if (normal != form_->geometry())
        form_->setGeometry(normal);
}

void FormKeeper::SavePlacement()
{
    ini_.WriteChanges(CommonSection(), PlacementChanges());
}

QList<TIniCtrl::Change> FormKeeper::PlacementChanges() const
{
    if (!form_)
        return {};
    WindowPlacement placement;
    DescribeState(*form_, placement);
    const QRect normalGeometry = form_->normalGeometry();
    QRect normal = normalGeometry.isValid() ? normalGeometry : form_->geometry();
    if (!placesWindows_ && storedTopLeft_)
        normal.moveTopLeft(*storedTopLeft_);
    placement.SetNormalRect(normal);

    return {{PlacementKey(), FormatPlacement(placement)},
            {PlacementKey() + QStringLiteral("Color"), std::nullopt},
            {PlacementKey() + QStringLiteral("Font"), std::nullopt}};
}

bool FormKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (!form_)
        return QObject::eventFilter(watched, event);
    if (watched == form_) {
        switch (event->type()) {
        case QEvent::Show:
            // Spontaneous shows are the window system's (a restore from the
            // task bar); only the program's own showing opens with the effect.
            if (!event->spontaneous() && !form_->isMinimized())
                ExplodeEffect::Play(QCursor::pos(), form_->frameGeometry(), form_);
            // The frame is known when the framed window is first exposed,
            // which only its window handle is told.
            if (QWindow* window = form_->windowHandle())
                window->installEventFilter(this);
            UpdateMinimumSize();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            UpdateMinimumSize();
            break;
        default:
            break;
        }
    } else if (watched == form_->windowHandle() && event->type() == QEvent::Expose) {
        if (placed_ != Placed::Final && !Frame().isNull())
            PlaceWithFrame();
    }
    return QObject::eventFilter(watched, event);
}
