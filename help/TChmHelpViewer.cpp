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
    const QRect desktop = DesktopRect(window);
    if (const std::optional<TWindowPlacement> kept = ParsePlacement(host->HelpPlacement())) {
        // Its client area, as kept: the same place again under the same
        // window manager.
        window.setGeometry(FitToDesktop(kept->NormalRect(), desktop, SmallestSize));
        return;
    }
    const QWidget* main = host->MainWindow();
    if (!main || !main->isVisible())
        return;
    // Its frame is not known before it is shown: centred by its client area
    // and put by its outer corner, which the frame can only move a little.
    QRect centred(QPoint(), window.size().boundedTo(desktop.size()).expandedTo(SmallestSize));
    centred.moveCenter(main->frameGeometry().center());
    const QRect onDesktop = FitToDesktop(centred, desktop, SmallestSize);
    window.resize(onDesktop.size());
    window.move(onDesktop.topLeft());
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
