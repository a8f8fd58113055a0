// The board in words, as a screen reader says it, for prepared positions:
// the four quarters of a tile in reading order, where the tile in hand is,
// what touches that place, a refused lay, and the states that hide or end
// the play. Symbols are drawn as their own pattern numbers here, so that
// "1234" reads as symbols 1 to 4.
#include <QtTest>

#include "FlowRig.h"
#include "game/mainform/BoardDescription.h"

namespace {

using Setup = std::function<bool(FlowRig&)>;

PatternImages SymbolsAsNumbers()
{
    PatternImages map{};
    for (int i = 1; i < int(map.size()); ++i)
        map[i] = i;
    return map;
}

// A running game on the ring board with the tile in hand, held over a point.
Setup Carry(const char* tile, std::function<QPoint(FlowRig&)> where, int score = 27)
{
    return [=](FlowRig& rig) {
        const bool arranged = Arrange(rig.flow, [&](GamePosition& p) {
            CarryOver(p, TwoSymbolRing, tile);
            p.PatternMap = SymbolsAsNumbers();
            p.Score = score;
        });
        const QPoint at = where(rig);
        rig.flow.Move(at.x(), at.y());
        return arranged;
    };
}

std::function<QPoint(FlowRig&)> OverBlock(BlockPos b)
{
    return [b](FlowRig& rig) { return rig.BlockCentre(b); };
}

// Nothing in hand, "1234" in the preview box.
bool Waiting(FlowRig& rig)
{
    return Arrange(rig.flow, [](GamePosition& p) {
        p.Level = NineSymbolLevel;
        p.PatternMap = SymbolsAsNumbers();
        p.NextTile = TileFromText("1234");
    });
}

} // namespace

Q_DECLARE_METATYPE(Setup)

class BoardDescriptionTest : public QObject {
    Q_OBJECT

private slots:
    void describesWhatThePlayerSees_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("expected");

        // Quarters in the flat order top-left, bottom-left, top-right,
        // bottom-right are read row by row.
        QTest::newRow("next tile") << Setup(Waiting) << false
            << "Next tile: top four-coloured square and white checkerboard, "
               "bottom green-blue grid and purple rough octagon. Level 22, score 0.";
        QTest::newRow("next tile, German") << Setup(Waiting) << true
            << "Nächster Stein: oben vierfarbiges Quadrat und weißes Schachbrett, "
               "unten grün-blaues Gitter und violettes raues Achteck. Stufe 22, Punkte 0.";
        // Each side lists the neighbour's two quarters that touch the place.
        QTest::newRow("in hand, neighbours on all sides") << Carry("5555", OverBlock({3, 3})) << false
            << "Tile in hand on column 4, row 4: four times smiling face. Next to it: "
               "above four-coloured square and green-blue grid; left four-coloured square and green-blue grid; "
               "right green-blue grid and four-coloured square; below green-blue grid and four-coloured square. "
               "Level 22, score 27.";
        QTest::newRow("in hand, German") << Carry("5565", OverBlock({3, 3})) << true
            << "Stein in der Hand auf Spalte 4, Reihe 4: oben lachendes Gesicht und gestreiftes Gekritzel, "
               "unten lachendes Gesicht und lachendes Gesicht. Daneben: "
               "oben vierfarbiges Quadrat und grün-blaues Gitter; links vierfarbiges Quadrat und grün-blaues Gitter; "
               "rechts grün-blaues Gitter und vierfarbiges Quadrat; unten grün-blaues Gitter und vierfarbiges Quadrat. "
               "Stufe 22, Punkte 27.";
        QTest::newRow("in hand on a taken place") << Carry("5555", OverBlock({3, 2})) << false
            << "Tile in hand on column 4, row 3: four times smiling face. The place is taken. Level 22, score 27.";
        QTest::newRow("in hand in a corner") << Carry("5555", OverBlock({6, 6})) << false
            << "Tile in hand on column 7, row 7: four times smiling face. Nothing next to it. Level 22, score 27.";
        QTest::newRow("over the discard box") << Carry("5555", [](FlowRig& r) { return r.DiscardCentre(); }) << false
            << "Tile in hand over the discard box: four times smiling face. Level 22, score 27.";
        QTest::newRow("beside the board") << Carry("5555", [](FlowRig&) { return QPoint(1, 1); }) << false
            << "Tile in hand beside the board: four times smiling face. Level 22, score 27.";
    }
    void describesWhatThePlayerSees()
    {
        QFETCH(Setup, setup);
        QFETCH(bool, german);
        QFETCH(QString, expected);
        FlowRig rig;
        QVERIFY(setup(rig));
        QCOMPARE(DescribeBoard(rig.flow, german), expected);
    }

    // Told first while the tile stays where it was refused, as it was turned.
    void aRefusedLayIsToldUntilTheTileTurnsOrMoves()
    {
        FlowRig rig;
        QVERIFY(Carry("5678", OverBlock({3, 3}))(rig));
        rig.Press(rig.BlockCentre({3, 3}));
        QVERIFY(rig.Game().InHand());
        const QString refused = DescribeBoard(rig.flow, false);
        QVERIFY2(refused.startsWith("Does not fit here. Tile in hand on column 4, row 4:"), qPrintable(refused));
        rig.Fire(FlowTimer::RefusalCue); // the red frame goes; the words stay
        QCOMPARE(DescribeBoard(rig.flow, false), refused);

        rig.flow.Key(BoardKey::Turn);
        QVERIFY(!DescribeBoard(rig.flow, false).contains("Does not fit"));
        rig.flow.Key(BoardKey::Turn);
        rig.flow.Key(BoardKey::Turn);
        rig.flow.Key(BoardKey::Turn);
        QCOMPARE(DescribeBoard(rig.flow, false), refused); // turned back, it would be refused again
        rig.flow.Key(BoardKey::Left);
        QVERIFY(!DescribeBoard(rig.flow, false).contains("Does not fit"));
    }

    void statesThatHideOrEndThePlay()
    {
        FlowRig rig;
        rig.PickUp();
        QString paused;
        rig.services.whileMessageOpen = [&](int) { paused = DescribeBoard(rig.flow, false); };
        rig.flow.PauseButton();
        QCOMPARE(paused, QStringLiteral("Game paused, the board is hidden. Level 1, score 0."));

        rig.flow.Key(BoardKey::Discard);
        QVERIFY(rig.flow.Animation());
        QCOMPARE(DescribeBoard(rig.flow, true), QStringLiteral("Stein weggeworfen. Stufe 1, Punkte 0."));
        rig.FinishAnimation();
        QVERIFY(DescribeBoard(rig.flow, false).startsWith("Next tile: "));

        rig.RunClockOut();
        QVERIFY(DescribeBoard(rig.flow, false).startsWith("The game is over. "));
    }

    void aWonLevelIsTold()
    {
        FlowRig rig;
        QVERIFY(Arrange(rig.flow, [](GamePosition& p) { AboutToWin(p); }));
        rig.Press(rig.BlockCentre(AlmostSquareHole));
        QVERIFY(rig.flow.Animation());
        QVERIFY(DescribeBoard(rig.flow, false).startsWith("Square covered, level won! Level 1, score "));
    }
};

QTEST_GUILESS_MAIN(BoardDescriptionTest)
#include "test_board_description.moc"
