#include "help/TChmHelpViewer.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>

#include "help/THelpWindowHost.h"
#include "settings/WindowPlacement.h"
#include "ui/toolkit/WindowSystem.h"

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
        KeepOverMainWindow(*window);
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

void TChmHelpViewer::KeepOverMainWindow(THelpWindow& window) const
{
    // Only its window is the main window's child, not the widget: the help
    // window is closed after the main window has gone, and keeps its place then.
    THelpWindowHost* host = FHost;
    const QWidget* main = host ? host->MainWindow() : nullptr;
    if (!main || !main->windowHandle())
        return;
    window.winId();
    window.windowHandle()->setTransientParent(main->windowHandle());
}

void TChmHelpViewer::Place(THelpWindow& window)
{
    THelpWindowHost* host = FHost;
    if (!host)
        return;
    const QWidget* main = host->MainWindow();
    if (!ProgramPlacesWindows()) {
        // Only the size can be had again; the place is kept as it was for
        // the next run where windows have places.
        const std::optional<TWindowPlacement> kept = ParsePlacement(host->HelpPlacement());
        FKeptTopLeft = kept ? std::optional(kept->NormalRect().topLeft()) : std::nullopt;
        if (kept)
            window.resize(FitToDesktop(kept->NormalRect(), DesktopRect(window), SmallestSize).size());
        return;
    }
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
    THelpWindowHost* host = FHost;
    if (!host)
        return;
    TWindowPlacement placement;
    const QRect normal = window.normalGeometry();
    QRect rect = normal.isValid() ? normal : window.geometry();
    if (!ProgramPlacesWindows() && FKeptTopLeft)
        rect.moveTopLeft(*FKeptTopLeft);
    placement.SetNormalRect(rect);
    host->SetHelpPlacement(FormatPlacement(placement));
}
