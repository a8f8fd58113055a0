#pragma once
// The miniature session manager (xsmp_manager) run for one test: its address
// for the game's SESSION_MANAGER, its reports as they come, and the session's
// requests sent to every registered client.
#include <QProcess>
#include <QString>
#include <QStringList>

class SessionManager {
public:
    SessionManager() = default;
    ~SessionManager();
    SessionManager(const SessionManager&) = delete;
    SessionManager& operator=(const SessionManager&) = delete;

    // Empty on success, otherwise what went wrong.
    QString Start();
    // What the game's SESSION_MANAGER must say.
    QString Address() const { return address_; }
    // "save" (the session ends, no interaction allowed), "save-any" (the
    // client may ask to interact) or "die" (the client must end now).
    void Send(const QString& request);
    // Waits up to ms for the report line (e.g. "registered", "save-done").
    bool WaitFor(const QString& report, int ms);
    // Every report so far.
    QStringList Reports() const { return reports_; }

private:
    void ReadReports();

    QProcess process_;
    QString address_;
    QStringList reports_;
    qsizetype seen_ = 0;
};
