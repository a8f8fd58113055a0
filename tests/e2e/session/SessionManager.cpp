#include "tests/e2e/session/SessionManager.h"

#include "tests/e2e/Poll.h"

SessionManager::~SessionManager()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(3000);
    }
}

QString SessionManager::Start()
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(TANGRIX_XSMP_MANAGER), {});
    if (!process_.waitForStarted(10000))
        return QStringLiteral("the session manager does not start: ") + process_.errorString();
    const QString prefix = QStringLiteral("SESSION_MANAGER=");
    if (!Poll([&] {
            ReadReports();
            return !reports_.isEmpty();
        }, 10000) ||
        !reports_.first().startsWith(prefix))
        return QStringLiteral("the session manager gives no address: ") + reports_.join(u' ');
    address_ = reports_.takeFirst().mid(prefix.size());
    return {};
}

void SessionManager::Send(const QString& request)
{
    process_.write((request + u'\n').toUtf8());
    process_.waitForBytesWritten(3000);
}

bool SessionManager::WaitFor(const QString& report, int ms)
{
    return Poll([&] {
        ReadReports();
        for (; seen_ < reports_.size(); ++seen_)
            if (reports_[seen_] == report) {
                ++seen_;
                return true;
            }
        return false;
    }, ms);
}

void SessionManager::ReadReports()
{
    process_.waitForReadyRead(0);
    while (process_.canReadLine())
        reports_ << QString::fromUtf8(process_.readLine()).trimmed();
}
