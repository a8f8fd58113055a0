// What the program tells the player also reaches the log, with or without a
// box wired, so that a system journal or a test sees it.
#include "settings/ErrorReport.h"

#include <QtTest>

namespace {
QStringList logged;
void Record(QtMsgType, const QMessageLogContext&, const QString& message) { logged << message; }
} // namespace

class TestErrorReport : public QObject {
    Q_OBJECT
private slots:
    void init() { logged.clear(); }

    void EveryMessageIsLoggedAndShown_data()
    {
        QTest::addColumn<bool>("wired");
        QTest::newRow("a box wired") << true;
        QTest::newRow("nothing wired") << false;
    }
    void EveryMessageIsLoggedAndShown()
    {
        QFETCH(bool, wired);
        QStringList shown;
        const ErrorReporter previous =
            SetErrorReporter(wired ? ErrorReporter([&shown](const QString& m) { shown << m; }) : ErrorReporter());
        const QtMessageHandler handler = qInstallMessageHandler(Record);
        ReportError(QStringLiteral("No music: first line\nsecond line"));
        qInstallMessageHandler(handler);
        SetErrorReporter(previous);
        QCOMPARE(logged, QStringList{"No music: first line\nsecond line"});
        QCOMPARE(shown, wired ? QStringList{"No music: first line\nsecond line"} : QStringList{});
    }
};

QTEST_GUILESS_MAIN(TestErrorReport)
#include "test_error_report.moc"
