#include "ui/StandardErrorBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
StandardErrorHandler& Handler()
{
    static StandardErrorHandler handler;
    return handler;
}
}

void ShowStandardError(const QString& message)
{
    if (Handler()) {
        Handler()(message);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), message);
}

StandardErrorHandler SetStandardErrorHandler(StandardErrorHandler handler)
{
    StandardErrorHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}
