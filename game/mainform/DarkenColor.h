#pragma once
// Colour arithmetic of the throw-away animation, with the painter that draws
// it. Colours are 0x00BBGGRR.
#include <algorithm>
#include <cstdint>

constexpr std::uint32_t DarkenColor(std::uint32_t colour, int percent)
{
    auto channel = [&](int shift) {
        const std::uint32_t v = (colour >> shift) & 0xFFu;
        return std::min<std::uint32_t>(255u, v * static_cast<std::uint32_t>(percent) / 100u) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

// Each pass of the throw-away animation leaves this much of every channel.
inline constexpr int ThrowAwayDarkenPercent = 75;
