#pragma once
// The game clock as a fraction of a full clock: 1.0 full, below 0 run out.
//
// The value is kept as a 32-bit float, and every change is computed in 80-bit
// extended precision and stored back as float. The rounding of each store is
// what fixes how many ticks a full clock lasts, so the precision is part of
// the rule, not an implementation detail.
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "the clock needs the 80-bit extended long double (x86 GCC/Clang, or MinGW on Windows)");

class GameClock {
public:
    static constexpr long double TickStep = 0.005L;
    static constexpr long double LayBonus = 0.1L;

    float TimeLeft = 1.0f;

    void Fill() { TimeLeft = 1.0f; }
    bool RunOut() const { return TimeLeft < 0.0f; }

    // One tick of the clock (every 500 ms); true when it has just run out.
    bool Tick()
    {
        TimeLeft = static_cast<float>(static_cast<long double>(TimeLeft) - TickStep);
        return RunOut();
    }

    // An accepted lay winds the clock back, never beyond full.
    void WindBack()
    {
        TimeLeft = static_cast<float>(static_cast<long double>(TimeLeft) + LayBonus);
        if (TimeLeft > 1.0f)
            TimeLeft = 1.0f;
    }
};
