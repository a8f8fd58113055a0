#include "ui/keeper/TFormKeeper.h"

#include "settings/ProgramSettings.h"
#include "settings/TIniCtrl.h"
#include "settings/WindowPlacement.h"
#include "ui/keeper/TExplodeEffect.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {

QRect DesktopRect(const QWidget& form)
{
    const QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : QRect();
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

TFormKeeper::TFormKeeper(QWidget* form, TIniCtrl& ini)
    : QObject(form)
    , m_form(form)
    , m_ini(ini)
{
    form->installEventFilter(this);
    UpdateMinimumSize();
}

void TFormKeeper::UpdateMinimumSize()
{
    // The rectangles store and restore the client area (Qt's geometry): the
    // frame belongs to the window manager, differs between them and is not
    // known before the first showing, and the client area alone round-trips
    // from run to run without the window creeping or growing.
    const QSize frame = m_form->frameGeometry().size() - m_form->geometry().size();
    const QSize smallest = (SmallestOuterSize - frame.expandedTo(QSize(0, 0))).expandedTo(QSize(0, 0));
    if (m_form->minimumSize() != smallest)
        m_form->setMinimumSize(smallest);
}

void TFormKeeper::RestorePlacement()
{
    if (!m_form)
        return;
    const QString stored = m_ini.ReadString(CommonSection(), PlacementKey(), QString());
    const std::optional<TWindowPlacement> placement = ParsePlacement(stored);

    QRect normal;
    if (placement) {
        normal = ClampToDesktop(placement->NormalRect(), DesktopRect(*m_form));
    } else {
        const QSize size = m_form->isMaximized() ? m_form->normalGeometry().size() : m_form->size();
        normal = QRect(CentredTopLeft(PrimaryScreenRect(), size), size);
    }

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

void TFormKeeper::SavePlacement()
{
    if (!m_form)
        return;
    TWindowPlacement placement;
    DescribeState(*m_form, placement);
    const QRect normal = m_form->normalGeometry();
    placement.SetNormalRect(normal.isValid() ? normal : m_form->geometry());

    m_ini.WriteString(CommonSection(), PlacementKey(), FormatPlacement(placement));
    m_ini.DeleteKey(CommonSection(), PlacementKey() + QStringLiteral("Color"));
    m_ini.DeleteKey(CommonSection(), PlacementKey() + QStringLiteral("Font"));
}

bool TFormKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_form) {
        switch (event->type()) {
        case QEvent::Show:
            // Spontaneous shows are the window system's (a restore from the
            // task bar); only the program's own showing opens with the effect.
            if (!event->spontaneous() && !m_form->isMinimized())
                TExplodeEffect::Play(QCursor::pos(), m_form->frameGeometry(), m_form);
            UpdateMinimumSize();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            UpdateMinimumSize();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
