#include "ui/StandardErrorBox.h"

#include <QApplication>
#include <QMessageBox>

void ShowStandardError(const QString& message)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), message);
}
