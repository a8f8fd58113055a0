// The ranking rules and the stored text of one row, without any window.
#include "ui/HighscoreTable.h"

#include <QTest>

namespace {
using Scores = QList<int>;

HighscoreTable TableWithScores(const Scores& scores)
{
    HighscoreTable table;
    for (int row = 0; row < scores.size(); ++row)
        table.SetRow(row, {QStringLiteral("p%1").arg(row), scores[row]});
    return table;
}

Scores ScoresOf(const HighscoreTable& table)
{
    Scores scores;
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        scores << table.Row(row).Score;
    return scores;
}

Scores Padded(Scores scores)
{
    while (scores.size() < HighscoreTable::RowCount)
        scores << 0;
    return scores;
}

Scores Descending(int from)
{
    Scores scores;
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        scores << from - 100 * row;
    return scores;
}
}

class HighscoreTableTest : public QObject {
    Q_OBJECT
private slots:
    void parseEntry_data();
    void parseEntry();
    void unreadableRowsLeaveNoHole_data();
    void unreadableRowsLeaveNoHole();
    void formatThenParseGivesTheEntryBack_data();
    void formatThenParseGivesTheEntryBack();
    void rankAndInsert_data();
    void rankAndInsert();
    void insertKeepsNamesWithTheirScores();
};

void HighscoreTableTest::parseEntry_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("score");
    QTest::newRow("plain") << "1520,Anna" << true << "Anna" << 1520;
    QTest::newRow("negative score") << "-40,Bo" << true << "Bo" << -40;
    QTest::newRow("name with commas") << "300,Smith, J., Jr." << true << "Smith, J., Jr." << 300;
    QTest::newRow("empty name") << "7," << true << "" << 7;
    QTest::newRow("umlauts") << QString::fromUtf8("12,Jürgen Öß") << true << QString::fromUtf8("Jürgen Öß") << 12;
    // No entry at all, or damaged values (edited by hand, or written under another key).
    QTest::newRow("empty") << QString() << false << "" << 0;
    QTest::newRow("no comma") << "Anna" << false << "" << 0;
    QTest::newRow("nothing before comma") << ",Anna" << false << "" << 0;
    QTest::newRow("letters before comma") << "12a,Anna" << false << "" << 0;
    QTest::newRow("beyond 32 bits") << "99999999999,Anna" << false << "" << 0;
}

void HighscoreTableTest::parseEntry()
{
    QFETCH(QString, plain);
    QFETCH(bool, readable);
    QFETCH(QString, name);
    QFETCH(int, score);
    const std::optional<HighscoreEntry> entry = HighscoreTable::ParseEntry(plain);
    QCOMPARE(entry.has_value(), readable);
    if (readable)
        QCOMPARE(*entry, (HighscoreEntry{name, score}));
}

void HighscoreTableTest::unreadableRowsLeaveNoHole_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<Scores>("entries"); // the rows read, in order; the rest must be unused

    QStringList full;
    for (int score : Descending(1500))
        full << QStringLiteral("%1,p").arg(score);
    QTest::newRow("whole table") << full << Descending(1500);
    QStringList damaged = full;
    damaged[3] = QStringLiteral("@Rect(1 2 3 4)");
    Scores closedUp = Descending(1500);
    closedUp.removeAt(3);
    QTest::newRow("damaged row in the middle") << damaged << closedUp;
    QStringList missing = full;
    missing[0].clear();
    missing[14] = QStringLiteral("x");
    QTest::newRow("missing first, damaged last") << missing << Descending(1500).mid(1, 13);
    QTest::newRow("fewer rows than places") << QStringList{"9,a", "", "5,b"} << Scores{9, 5};
    QTest::newRow("nothing readable") << QStringList(15, QStringLiteral("?")) << Scores{};
    // A stored unused row is an entry like any other and keeps its place.
    QTest::newRow("stored unused row") << QStringList{"9,a", "0,Mr. Quill", "5,b"} << Scores{9, 0, 5};
}

void HighscoreTableTest::unreadableRowsLeaveNoHole()
{
    QFETCH(QStringList, stored);
    QFETCH(Scores, entries);
    const HighscoreTable table = HighscoreTable::FromStoredRows(stored);
    QCOMPARE(ScoresOf(table), Padded(entries));
    for (int row = int(entries.size()); row < HighscoreTable::RowCount; ++row)
        QCOMPARE(table.Row(row), HighscoreTable::EmptyEntry());
}

void HighscoreTableTest::formatThenParseGivesTheEntryBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("plain");
    QTest::newRow("simple") << "Anna" << 1520 << "1520,Anna";
    QTest::newRow("zero") << HighscoreTable::EmptyName() << 0 << "0,Mr. Quill";
    QTest::newRow("negative") << "x" << -3 << "-3,x";
    QTest::newRow("commas in name") << "Smith, J." << 500 << "500,Smith, J.";
    QTest::newRow("largest") << "max" << 2147483647 << "2147483647,max";
}

void HighscoreTableTest::formatThenParseGivesTheEntryBack()
{
    QFETCH(QString, name);
    QFETCH(int, score);
    QFETCH(QString, plain);
    const HighscoreEntry entry{name, score};
    QCOMPARE(HighscoreTable::FormatEntry(entry), plain);
    QCOMPARE(HighscoreTable::ParseEntry(plain), std::optional(entry));
}

void HighscoreTableTest::rankAndInsert_data()
{
    QTest::addColumn<Scores>("stored");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("row");
    QTest::addColumn<Scores>("after");

    QTest::newRow("empty table, first place") << Padded({}) << 0 << 10 << 0 << Padded({10});
    QTest::newRow("ties rank below") << Padded({900, 500, 500, 100}) << 0 << 500 << 3
                                     << Padded({900, 500, 500, 500, 100});
    Scores beatLast = Descending(1500);
    beatLast[14] = 150;
    QTest::newRow("beats only the last") << Descending(1500) << 0 << 150 << 14 << beatLast;
    Scores beatFirst = Descending(1500);
    beatFirst.prepend(2000);
    beatFirst.removeLast();
    QTest::newRow("beats the first") << Descending(1500) << 0 << 2000 << 0 << beatFirst;
    QTest::newRow("equal to the last earns nothing") << Descending(1500) << 0 << 100 << -1 << Descending(1500);
    QTest::newRow("zero earns nothing, higher first") << Padded({}) << 0 << 0 << -1 << Padded({});
    QTest::newRow("negative earns nothing") << Padded({5}) << 0 << -5 << -1 << Padded({5});
    QTest::newRow("lower first, beats a row") << Padded({10, 30}) << 1 << 20 << 1 << Padded({10, 20, 30});
    QTest::newRow("lower first, free row") << Padded({10, 20}) << 1 << 25 << 2 << Padded({10, 20, 25});
    QTest::newRow("lower first, tie") << Padded({10, 20}) << 1 << 20 << 2 << Padded({10, 20, 20});
    Scores full = Descending(1500);
    std::reverse(full.begin(), full.end());
    QTest::newRow("lower first, full, too high") << full << 1 << 1500 << -1 << full;
}

void HighscoreTableTest::rankAndInsert()
{
    QFETCH(Scores, stored);
    QFETCH(int, direction);
    QFETCH(int, score);
    QFETCH(int, row);
    QFETCH(Scores, after);
    HighscoreTable table = TableWithScores(stored);
    QCOMPARE(table.Rank(score, direction), row);
    if (row >= 0)
        table.Insert(row, {QStringLiteral("new"), score});
    QCOMPARE(ScoresOf(table), after);
}

void HighscoreTableTest::insertKeepsNamesWithTheirScores()
{
    HighscoreTable table = TableWithScores(Descending(1500));
    table.Insert(2, {QStringLiteral("new"), 1350});
    QCOMPARE(table.Row(1), (HighscoreEntry{QStringLiteral("p1"), 1400}));
    QCOMPARE(table.Row(2), (HighscoreEntry{QStringLiteral("new"), 1350}));
    QCOMPARE(table.Row(3), (HighscoreEntry{QStringLiteral("p2"), 1300}));
    QCOMPARE(table.Row(14), (HighscoreEntry{QStringLiteral("p13"), 200}));
}

QTEST_GUILESS_MAIN(HighscoreTableTest)
#include "test_highscore_table.moc"
