#include "game/rules/RandomSource.h"

#include <chrono>

UniformRandom UniformRandom::FromClock()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    return UniformRandom(static_cast<std::uint32_t>(now ^ (now >> 32)));
}
