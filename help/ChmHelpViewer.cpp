#include "help/ChmHelpViewer.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>

#include "help/HelpWindowHost.h"
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

ChmHelpViewer::~ChmHelpViewer()
{
    // Once the application object is gone no widget may be touched; the
    // process is ending then anyway.
    if (QApplication::instance())
        delete window_;
}

QWidget* ChmHelpViewer::ShowContext(const QString& helpFile, quint32 context)
{
    if (!window_) {
        window_ = new HelpWindow;
        HelpWindow* window = window_;
        QObject::connect(window, &HelpWindow::Closing, window, [this, window] { KeepPlace(*window); });
        Place(*window);
        KeepOverMainWindow(*window);
    }
    window_->ShowContext(helpFile, context);
    window_->show();
    return window_;
}

void ChmHelpViewer::FollowContext(const QString& helpFile, quint32 context)
{
    if (window_ && window_->isVisible() && window_->Context() != context)
        window_->ShowContext(helpFile, context);
}

void ChmHelpViewer::CloseAll()
{
    if (window_ && window_->isVisible())
        KeepPlace(*window_);
    // Deleted at once rather than later: close-all also runs after the event
    // loop has ended, when deferred deletions no longer happen.
    delete window_;
}

void ChmHelpViewer::KeepOverMainWindow(HelpWindow& window) const
{
    // Only its window is the main window's child, not the widget: the help
    // window is closed after the main window has gone, and keeps its place then.
    HelpWindowHost* host = host_;
    const QWidget* main = host ? host->MainWindow() : nullptr;
    if (!main || !main->windowHandle())
        return;
    window.winId();
    window.windowHandle()->setTransientParent(main->windowHandle());
}

void ChmHelpViewer::Place(HelpWindow& window)
{
    HelpWindowHost* host = host_;
    if (!host)
        return;
    const QWidget* main = host->MainWindow();
    if (!ProgramPlacesWindows()) {
        // Only the size can be had again; the place is kept as it was for
        // the next run where windows have places.
        const std::optional<WindowPlacement> kept = ParsePlacement(host->HelpPlacement());
        keptTopLeft_ = kept ? std::optional(kept->NormalRect().topLeft()) : std::nullopt;
        if (kept)
            window.resize(FitToDesktop(kept->NormalRect(), DesktopRect(window), SmallestSize).size());
        return;
    }
    // The window manager frames the help window as it framed the main window:
    // with that frame its outer rectangle can be put on the desktop before
    // it is shown, title bar included.
    const QMargins frame = main ? FrameOf(*main) : QMargins();
    QRect outer;
    if (const std::optional<WindowPlacement> kept = ParsePlacement(host->HelpPlacement())) {
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

void ChmHelpViewer::KeepPlace(const HelpWindow& window) const
{
    HelpWindowHost* host = host_;
    if (!host)
        return;
    WindowPlacement placement;
    const QRect normal = window.normalGeometry();
    QRect rect = normal.isValid() ? normal : window.geometry();
    if (!ProgramPlacesWindows() && keptTopLeft_)
        rect.moveTopLeft(*keptTopLeft_);
    placement.SetNormalRect(rect);
    host->SetHelpPlacement(FormatPlacement(placement));
}
