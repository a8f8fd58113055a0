#include "PeriodicNoise.h"

#include "Random.h"

#include <cmath>

namespace {

double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

std::int64_t Wrap(std::int64_t i, int period)
{
    const std::int64_t r = i % period;
    return r < 0 ? r + period : r;
}

} // namespace

PeriodicNoise::PeriodicNoise(int width, int height, int cellsX, int cellsY, std::uint64_t seed)
    : width_(width), height_(height), cellsX_(cellsX), cellsY_(cellsY), seed_(seed)
{
}

double PeriodicNoise::Lattice(std::int64_t ix, std::int64_t iy, int periodX, int periodY, int octave) const
{
    return 2.0 * HashUnit(Wrap(ix, periodX), Wrap(iy, periodY), seed_ * 131 + std::uint64_t(octave)) - 1.0;
}

double PeriodicNoise::Octave(double x, double y, int octave) const
{
    const int periodX = cellsX_ << octave;
    const int periodY = cellsY_ << octave;
    const double u = x / width_ * periodX;
    const double v = y / height_ * periodY;
    const double fu = std::floor(u), fv = std::floor(v);
    const auto ix = std::int64_t(fu), iy = std::int64_t(fv);
    const double tx = Fade(u - fu), ty = Fade(v - fv);
    const double a = Lattice(ix, iy, periodX, periodY, octave);
    const double b = Lattice(ix + 1, iy, periodX, periodY, octave);
    const double c = Lattice(ix, iy + 1, periodX, periodY, octave);
    const double d = Lattice(ix + 1, iy + 1, periodX, periodY, octave);
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double PeriodicNoise::GradientOctave(double x, double y, int octave) const
{
    const int periodX = cellsX_ << octave;
    const int periodY = cellsY_ << octave;
    const double u = x / width_ * periodX;
    const double v = y / height_ * periodY;
    const double fu = std::floor(u), fv = std::floor(v);
    const auto ix = std::int64_t(fu), iy = std::int64_t(fv);
    const double du = u - fu, dv = v - fv;
    auto corner = [&](std::int64_t cx, std::int64_t cy, double ox, double oy) {
        const double angle = 6.283185307179586 * 0.5 * (Lattice(cx, cy, periodX, periodY, octave + 64) + 1.0);
        return std::cos(angle) * ox + std::sin(angle) * oy;
    };
    const double a = corner(ix, iy, du, dv);
    const double b = corner(ix + 1, iy, du - 1, dv);
    const double c = corner(ix, iy + 1, du, dv - 1);
    const double d = corner(ix + 1, iy + 1, du - 1, dv - 1);
    const double tx = Fade(du), ty = Fade(dv);
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return 1.4 * (top + (bottom - top) * ty);
}

double PeriodicNoise::Fractal(double x, double y, int octaves, double persistence) const
{
    double sum = 0, weight = 1, total = 0;
    for (int k = 0; k < octaves; ++k) {
        sum += weight * Octave(x, y, k);
        total += weight;
        weight *= persistence;
    }
    return sum / total;
}

double PeriodicNoise::Turbulence(double x, double y, int octaves) const
{
    double sum = 0, weight = 1, total = 0;
    for (int k = 0; k < octaves; ++k) {
        sum += weight * std::abs(Octave(x, y, k));
        total += weight;
        weight *= 0.5;
    }
    return sum / total;
}
