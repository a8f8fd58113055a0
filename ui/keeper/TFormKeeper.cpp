#include "ui/keeper/TFormKeeper.h"

#include "settings/ProgramSettings.h"
#include "settings/TIniCtrl.h"
#include "settings/WindowPlacement.h"
#include "ui/keeper/TExplodeEffect.h"

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
void DescribeState(const QWidget& form, TWindowPlacement& placement)
{
    const Qt::WindowStates state = form.windowState();
    placement.flags = state.testFlag(Qt::WindowMaximized) ? TWindowPlacement::RestoreToMaximized
                                                          : TWindowPlacement::NoFlags;
    if (state.testFlag(Qt::WindowMinimized))
        placement.showCmd = TWindowPlacement::ShowMinimized;
    else if (state.testFlag(Qt::WindowMaximized))
        placement.showCmd = TWindowPlacement::ShowMaximized;
    else
        placement.showCmd = TWindowPlacement::ShowNormal;
}

} // namespace

TFormKeeper::TFormKeeper(QWidget* form, TIniCtrl& ini, bool placesWindows)
    : QObject(form)
    , m_form(form)
    , m_ini(ini)
    , m_placesWindows(placesWindows)
{
    form->installEventFilter(this);
}

QMargins TFormKeeper::Frame() const
{
    if (!m_form || !m_form->isVisible())
        return {};
    return FrameMargins(m_form->frameGeometry(), m_form->geometry());
}

void TFormKeeper::UpdateMinimumSize()
{
    const QMargins frame = Frame();
    // Resizes before the first showing are the program's own layout.
    if (frame.isNull() && !m_unframedSmallest.isValid() && !m_form->isVisible())
        return;
    QSize smallest;
    if (!frame.isNull()) {
        smallest = SmallestOuterSize.shrunkBy(frame).expandedTo(QSize(0, 0));
    } else {
        if (!m_unframedSmallest.isValid())
            m_unframedSmallest = SmallestOuterSize.boundedTo(m_form->size());
        smallest = m_unframedSmallest;
    }
    if (m_form->minimumSize() != smallest)
        m_form->setMinimumSize(smallest);
}

QRect TFormKeeper::OnDesktop(const QRect& outer, const QMargins& frame) const
{
    // The smallest size the window will really have: a stored rectangle
    // smaller than that is shown larger, and must be kept on the desktop at
    // that larger size.
    const QSize smallest = frame.isNull() ? m_unframedSmallest : SmallestOuterSize;
    return FitToDesktop(outer, DesktopRect(*m_form), smallest).marginsRemoved(frame);
}

void TFormKeeper::RestorePlacement()
{
    if (!m_form)
        return;
    if (!m_unframedSmallest.isValid())
        m_unframedSmallest = SmallestOuterSize.boundedTo(m_form->size());
    const QMargins frame = Frame();
    const QString stored = m_ini.ReadString(CommonSection(), PlacementKey(), QString());
    const std::optional<TWindowPlacement> placement = ParsePlacement(stored);

    if (!m_placesWindows) {
        m_storedTopLeft = placement ? std::optional(placement->NormalRect().topLeft()) : std::nullopt;
        if (placement)
            SetNormalGeometry(QRect(m_form->pos(), OnDesktop(placement->NormalRect(), QMargins()).size()));
        UpdateMinimumSize();
        m_placed = Placed::Final;
        return;
    }

    QRect normal;
    if (placement) {
        normal = OnDesktop(placement->NormalRect().marginsAdded(frame), frame);
        m_placed = Placed::Restored;
    } else {
        const QSize size = m_form->isMaximized() ? m_form->normalGeometry().size() : m_form->size();
        const QPoint outerTopLeft = CentredTopLeft(PrimaryScreenRect(), size.grownBy(frame));
        normal = QRect(outerTopLeft + QPoint(frame.left(), frame.top()), size);
        m_placed = Placed::Centred;
    }
    UpdateMinimumSize();
    SetNormalGeometry(normal);
    if (!frame.isNull())
        m_placed = Placed::Final;
}

void TFormKeeper::SetNormalGeometry(const QRect& normal)
{
    // Qt has no way to set the normal rectangle of a maximised window other
    // than to leave the maximised state for a moment.
    const Qt::WindowStates state = m_form->windowState();
    const bool leaveState = state.testAnyFlags(Qt::WindowMaximized | Qt::WindowFullScreen);
    if (leaveState)
        m_form->setWindowState(state & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    m_form->setGeometry(normal);
    if (leaveState)
        m_form->setWindowState(state);
}

void TFormKeeper::PlaceWithFrame()
{
    const QMargins frame = Frame();
    if (frame.isNull())
        return;
    const Placed placed = std::exchange(m_placed, Placed::Final);
    UpdateMinimumSize();
    // A maximised window keeps its normal rectangle for later, as restored.
    const Qt::WindowStates sized = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (placed == Placed::Final || m_form->windowState() & sized)
        return;

    QRect outer = m_form->frameGeometry();
    if (placed == Placed::Centred)
        outer.moveTopLeft(CentredTopLeft(PrimaryScreenRect(), outer.size()));
    const QRect normal = OnDesktop(outer, frame);
    if (normal != m_form->geometry())
        m_form->setGeometry(normal);
}

void TFormKeeper::SavePlacement()
{
    m_ini.WriteChanges(CommonSection(), PlacementChanges());
}

QList<TIniCtrl::Change> TFormKeeper::PlacementChanges() const
{
    if (!m_form)
        return {};
    TWindowPlacement placement;
    DescribeState(*m_form, placement);
    const QRect normalGeometry = m_form->normalGeometry();
    QRect normal = normalGeometry.isValid() ? normalGeometry : m_form->geometry();
    if (!m_placesWindows && m_storedTopLeft)
        normal.moveTopLeft(*m_storedTopLeft);
    placement.SetNormalRect(normal);

    return {{PlacementKey(), FormatPlacement(placement)},
            {PlacementKey() + QStringLiteral("Color"), std::nullopt},
            {PlacementKey() + QStringLiteral("Font"), std::nullopt}};
}

bool TFormKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_form)
        return QObject::eventFilter(watched, event);
    if (watched == m_form) {
        switch (event->type()) {
        case QEvent::Show:
            // Spontaneous shows are the window system's (a restore from the
            // task bar); only the program's own showing opens with the effect.
            if (!event->spontaneous() && !m_form->isMinimized())
                TExplodeEffect::Play(QCursor::pos(), m_form->frameGeometry(), m_form);
            // The frame is known when the framed window is first exposed,
            // which only its window handle is told.
            if (QWindow* window = m_form->windowHandle())
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
    } else if (watched == m_form->windowHandle() && event->type() == QEvent::Expose) {
        if (m_placed != Placed::Final && !Frame().isNull())
            PlaceWithFrame();
    }
    return QObject::eventFilter(watched, event);
}
