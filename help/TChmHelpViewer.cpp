#include "help/TChmHelpViewer.h"

#include <QApplication>
#include <QScreen>

#include "help/THelpWindowHost.h"
#include "help/hh.h"
#include "settings/WindowPlacement.h"

namespace {

QRect DesktopRect(const QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableVirtualGeometry() : QRect();
}

QMargins FrameOf(const QWidget& window)
{
    return window.isVisible() ? FrameMargins(window.frameGeometry(), window.geometry()) : QMargins();
}

} // namespace

TChmHelpViewer::~TChmHelpViewer()
{
    // Once the application object is gone no widget may be touched; the
    // process is ending then anyway.
    if (QApplication::instance())
        delete FWindow;
}

QWidget* TChmHelpViewer::ShowContext(const QString& helpFile, quint32 context)
{
    if (!FWindow) {
        FWindow = new THelpWindow;
        THelpWindow* window = FWindow;
        QObject::connect(window, &THelpWindow::Closing, window, [this, window] { KeepPlace(*window); });
        Place(*window);
    }
    FWindow->ShowContext(helpFile, context);
    FWindow->show();
    return FWindow;
}

void TChmHelpViewer::FollowContext(const QString& helpFile, quint32 context)
{
    if (FWindow && FWindow->isVisible() && FWindow->Context() != context)
        FWindow->ShowContext(helpFile, context);
}

void TChmHelpViewer::CloseAll()
{
    if (FWindow && FWindow->isVisible())
        KeepPlace(*FWindow);
    // Deleted at once rather than later: close-all also runs after the event
    // loop has ended, when deferred deletions no longer happen.
    delete FWindow;
}

void TChmHelpViewer::Place(THelpWindow& window) const
{
    THelpWindowHost* host = HelpWindowHost();
    if (!host)
        return;
    const QWidget* main = host->MainWindow();
    // The window manager frames the help window as it framed the main window:
    // with that frame its outer rectangle can be put on the desktop before
    // it is shown, title bar included.
    const QMargins frame = main ? FrameOf(*main) : QMargins();
    QRect outer;
    if (const std::optional<TWindowPlacement> kept = ParsePlacement(host->HelpPlacement())) {
        // Its client area as kept: the same place again under the same
        // window manager.
        outer = kept->NormalRect().marginsAdded(frame);
    } else if (main && main->isVisible()) {
        outer = QRect(QPoint(), window.size().grownBy(frame));
        outer.moveCenter(main->frameGeometry().center());
    } else {
        return;
    }
    const QSize smallest = SmallestSize.grownBy(frame);
    window.setGeometry(FitToDesktop(outer, DesktopRect(window), smallest).marginsRemoved(frame));
}

void TChmHelpViewer::KeepPlace(const THelpWindow& window) const
{
    THelpWindowHost* host = HelpWindowHost();
    if (!host)
        return;
    TWindowPlacement placement;
    const QRect normal = window.normalGeometry();
    placement.SetNormalRect(normal.isValid() ? normal : window.geometry());
    host->SetHelpPlacement(FormatPlacement(placement));
}
