// Where the settings store's folder is looked for: XDG_CONFIG_HOME only when
// it is an absolute path, as the XDG base directory rules say.
#include <QDir>
#include <QtTest>

#include "settings/ConfigHome.h"
#include "settings/TIniCtrl.h"

class ConfigHomeTest : public QObject {
    Q_OBJECT

private slots:
    void onlyAnAbsolutePathCounts_data()
    {
        QTest::addColumn<QByteArray>("value"); // XDG_CONFIG_HOME; null for unset
        QTest::addColumn<QString>("folder");
        const QString standard = QDir::homePath() + QStringLiteral("/.config");
        QTest::newRow("absolute") << QByteArray("/srv/player/conf") << QStringLiteral("/srv/player/conf");
        QTest::newRow("absolute, trailing slash") << QByteArray("/srv/conf/") << QStringLiteral("/srv/conf");
        QTest::newRow("relative") << QByteArray("conf") << standard;
        QTest::newRow("relative, dotted") << QByteArray("./conf") << standard;
        QTest::newRow("empty") << QByteArray("") << standard;
        QTest::newRow("unset") << QByteArray() << standard;
    }

    void onlyAnAbsolutePathCounts()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, folder);
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        if (value.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", value);
        const QString home = UserConfigHome();
        const QString store = TIniCtrl().StoreLocation();
        qputenv("XDG_CONFIG_HOME", saved);
        QCOMPARE(home, folder);
        QCOMPARE(store, folder + QStringLiteral("/Orvane/Tangrix V2.conf"));
    }
};

QTEST_GUILESS_MAIN(ConfigHomeTest)
#include "test_confighome.moc"
