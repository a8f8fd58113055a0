#pragma once
// Smooth value noise that repeats exactly over a tile, so that textures made
// from it join seamlessly with themselves at all four edges.
#include <cstdint>

class PeriodicNoise {
public:
    // The tile is width x height pixels; the coarsest octave has cellsX x cellsY
    // lattice cells across it, and every finer octave doubles both counts.
    PeriodicNoise(int width, int height, int cellsX, int cellsY, std::uint64_t seed);

    // One octave in [-1, 1] at pixel position (x, y); octave k has 2^k times the cells.
    double Octave(double x, double y, int octave) const;
    // Gradient (Perlin) noise of one octave in about [-1, 1]: rounder features, no
    // axis-aligned creases, for surfaces that are shaded by their slope.
    double GradientOctave(double x, double y, int octave) const;
    // Fractal sum of octaves, each with half the weight of the one before, in about [-1, 1].
    double Fractal(double x, double y, int octaves, double persistence = 0.5) const;
    // Sum of absolute octaves (creases), in [0, about 1].
    double Turbulence(double x, double y, int octaves) const;

private:
    double Lattice(std::int64_t ix, std::int64_t iy, int periodX, int periodY, int octave) const;

    int width_, height_, cellsX_, cellsY_;
    std::uint64_t seed_;
};
