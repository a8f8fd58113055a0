#pragma once
// The game clock as a fraction of a full clock: 1.0 full, below 0 run out.
//
// The value is kept as a 32-bit float, and every change is computed in a
// wider type and stored back as float. The rounding of each store is what
// fixes how many ticks a full clock lasts, so the precision is part of the
// rule, not an implementation detail. The game's first clock computed in
// 80-bit extended precision; IEEE double gives the same float for every value
// the clock can hold (checked for every float from -0.2 to 1.1), so double is
// what the clock needs, and it has that on every platform.
#include <limits>

static_assert(std::numeric_limits<double>::is_iec559 && std::numeric_limits<double>::digits == 53,
              "the clock needs IEEE double");

class GameClock {
public:
    static constexpr double TickStep = 0.005;
    static constexpr double LayBonus = 0.1;

    float TimeLeft = 1.0f;

    void Fill() { TimeLeft = 1.0f; }
    bool RunOut() const { return TimeLeft < 0.0f; }

    // One tick of the clock (every 500 ms); true when it has just run out.
    bool Tick()
    {
        TimeLeft = static_cast<float>(static_cast<double>(TimeLeft) - TickStep);
        return RunOut();
    }

    // An accepted lay winds the clock back, never beyond full.
    void WindBack()
    {
        TimeLeft = static_cast<float>(static_cast<double>(TimeLeft) + LayBonus);
        if (TimeLeft > 1.0f)
            TimeLeft = 1.0f;
    }
};
