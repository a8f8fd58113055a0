#include "help/TChmHelpViewer.h"

#include <QApplication>

TChmHelpViewer::~TChmHelpViewer()
{
    // Once the application object is gone no widget may be touched; the
    // process is ending then anyway.
    if (QApplication::instance())
        delete FWindow;
}

QWidget* TChmHelpViewer::ShowContext(const QString& helpFile, quint32 context)
{
    if (!FWindow)
        FWindow = new THelpWindow;
    FWindow->ShowContext(helpFile, context);
    FWindow->show();
    return FWindow;
}

void TChmHelpViewer::CloseAll()
{
    // Deleted at once rather than later: close-all also runs after the event
    // loop has ended, when deferred deletions no longer happen.
    delete FWindow;
}
