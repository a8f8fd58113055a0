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
    if (Reporter())
        Reporter()(message);
    else
        qWarning().noquote() << message;
}

ErrorReporter SetErrorReporter(ErrorReporter reporter)
{
    ErrorReporter previous = std::move(Reporter());
    Reporter() = std::move(reporter);
    return previous;
}
