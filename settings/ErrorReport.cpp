#include "settings/ErrorReport.h"

#include <QDebug>

namespace {
ErrorReporter& Reporter()
{
    static ErrorReporter reporter;
    return reporter;
}
} // namespace

void ReportError(const QString& message)
{
    // Always in the log too, so that a system journal or a test sees what
    // the player was shown.
    qWarning().noquote() << message;
    if (Reporter())
        Reporter()(message);
}

ErrorReporter SetErrorReporter(ErrorReporter reporter)
{
    ErrorReporter previous = std::move(Reporter());
    Reporter() = std::move(reporter);
    return previous;
}
