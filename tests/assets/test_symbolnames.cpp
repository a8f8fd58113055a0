// The symbols' spoken names: one for each of the 27 symbols in each
// language, none twice, so that a screen reader's listeners can tell any two
// apart; no name for a number that is no symbol (0 is an empty cell).
#include "assets/SymbolNames.h"

#include <QSet>
#include <QtTest>

class TestSymbolNames : public QObject {
    Q_OBJECT
private slots:
    void everySymbolHasItsOwnName_data()
    {
        QTest::addColumn<bool>("german");
        QTest::newRow("English") << false;
        QTest::newRow("German") << true;
    }
    void everySymbolHasItsOwnName()
    {
        QFETCH(bool, german);
        QSet<QString> names;
        for (int image = 1; image <= SymbolCount; ++image) {
            const QString name = SymbolName(image, german);
            QVERIFY2(!name.trimmed().isEmpty(), qPrintable(QString::number(image)));
            QVERIFY2(!names.contains(name), qPrintable(name));
            names.insert(name);
        }
        QVERIFY(SymbolName(0, german).isEmpty());
        QVERIFY(SymbolName(SymbolCount + 1, german).isEmpty());
    }

};

QTEST_GUILESS_MAIN(TestSymbolNames)
#include "test_symbolnames.moc"
