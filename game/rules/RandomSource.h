#pragma once
// The uniform random generator the rules draw from. The game passes one seeded
// once from the clock; tests pass one with a fixed seed.
#include <cstdint>
#include <random>

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A whole number 0..n-1.
    virtual int Random(int n) = 0;
};

class UniformRandom final : public RandomSource {
public:
    explicit UniformRandom(std::uint32_t seed) : engine_(seed) {}
    // Seeded from the clock, as the program does once at start-up.
    static UniformRandom FromClock();

    int Random(int n) override
    {
        return std::uniform_int_distribution<int>(0, n - 1)(engine_);
    }

private:
    std::mt19937 engine_;
};

// Always the first choice: every quarter dealt shows the same symbol, so every
// lay beside a tile fits. For tests that win levels on places they choose
// beforehand (the program uses it with TANGRIX_TEST_ONE_SYMBOL).
class OneSymbolRandom final : public RandomSource {
public:
    int Random(int) override { return 0; }
};
