#pragma once
// Deterministic pseudo-randomness, so that every build makes the same assets
// on every machine (the C library's rand() differs between platforms).
#include <cstdint>

inline std::uint64_t Mix64(std::uint64_t z)
{
    z += 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// A value in [0, 1) fixed by the three integers.
inline double HashUnit(std::int64_t a, std::int64_t b, std::uint64_t seed)
{
    const std::uint64_t h = Mix64(Mix64(seed ^ std::uint64_t(a) * 0x100000001b3ULL) + std::uint64_t(b));
    return double(h >> 11) * (1.0 / 9007199254740992.0);
}

class AssetRandom {
public:
    explicit AssetRandom(std::uint64_t seed) : state_(seed) {}
    double Unit() { state_ = Mix64(state_); return double(state_ >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double low, double high) { return low + (high - low) * Unit(); }
    double Signed() { return 2.0 * Unit() - 1.0; }

private:
    std::uint64_t state_;
};
