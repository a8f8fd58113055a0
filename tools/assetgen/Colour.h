#pragma once
// Small colour arithmetic in floating point, for the generated textures.
#include <QColor>
#include <algorithm>
#include <cmath>

struct Colour {
    double r = 0, g = 0, b = 0;

    Colour operator*(double k) const { return {r * k, g * k, b * k}; }
    Colour operator+(const Colour& o) const { return {r + o.r, g + o.g, b + o.b}; }
    QRgb ToRgb() const
    {
        auto c = [](double v) { return int(std::lround(std::clamp(v, 0.0, 255.0))); };
        return qRgb(c(r), c(g), c(b));
    }
};

inline Colour Mix(const Colour& a, const Colour& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline double SmoothStep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

inline Colour Lighter(const Colour& c, double amount)
{
    return {c.r + (255 - c.r) * amount, c.g + (255 - c.g) * amount, c.b + (255 - c.b) * amount};
}
