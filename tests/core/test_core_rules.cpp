// The clock and the board's geometry, pinned to values worked out by hand, so
// that a build whose arithmetic differs (another compiler, another platform)
// is caught.
#include "Check.h"

#include "game/rules/BoardGeometry.h"
#include "game/rules/GameClock.h"

#include <optional>

TEST_CASE(fullClockRunsOutAfter201Ticks)
{
    GameClock clock;
    int ticks = 1;
    while (!clock.Tick())
        ++ticks;
    CHECK_EQ(ticks, 201);
    CHECK(clock.TimeLeft < 0.0f);
}

TEST_CASE(clockRoundsEveryStepToFloat)
{
    // In float alone the value after 194 ticks would be 0.0300008095801.
    GameClock clock;
    for (int i = 0; i < 194; ++i)
        clock.Tick();
    CHECK_EQ(clock.TimeLeft, 0.0300008077174f);

    struct Row {
        float before;
        float after;
    };
    // 0.5 + 0.1 rounded to float, and the bonus never beyond a full clock.
    for (const Row row : {Row{0.5f, 0.60000002384f}, Row{0.95f, 1.0f}, Row{0.9f, 1.0f}, Row{0.0f, 0.10000000149f}}) {
        clock.TimeLeft = row.before;
        clock.WindBack();
        CHECK_EQ(clock.TimeLeft, row.after);
    }
}

TEST_CASE(layoutOfTheDesignWindow)
{
    // 701 x 405: cells of min(701 / 19, 405 / 16) = 25 pixels.
    const BoardGeometry g = BoardGeometry::ComputeLayout(701, 405);
    CHECK_EQ(g.CellSize, 25);
    CHECK_EQ(g.BoardLeft, 132);
    CHECK_EQ(g.BoardTop, 21);
    CHECK_EQ(g.PreviewLeft, 519);
    CHECK_EQ(g.BoardSize(), 362);
    CHECK_EQ(g.DiscardTop(), 96);
}

TEST_CASE(blockUnderAPoint)
{
    const BoardGeometry g = BoardGeometry::ComputeLayout(701, 405);
    struct Row {
        int x, y;
        std::optional<BlockPos> block;
    };
    // A block is 50 pixels, then a gap of 2: block 1 starts 52 pixels in.
    for (const Row row : {Row{132, 21, BlockPos{0, 0}}, Row{181, 70, BlockPos{0, 0}}, Row{182, 21, std::nullopt},
                          Row{183, 21, std::nullopt}, Row{184, 73, BlockPos{1, 1}}, Row{493, 382, BlockPos{6, 6}},
                          Row{494, 21, std::nullopt}, Row{131, 21, std::nullopt}}) {
        CHECK(g.BlockAt(row.x, row.y) == row.block);
    }
    CHECK(g.NearestBlock(0, 1000) == (BlockPos{0, 6}));
    CHECK(g.NearestBlock(182, 21) == (BlockPos{0, 0}));
    CHECK(g.InPreview(520, 22) && !g.InPreview(519, 22));
    CHECK(g.InDiscard(520, 97) && !g.InDiscard(520, 96));
}

TEST_MAIN()
