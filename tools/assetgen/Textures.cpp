#include "Textures.h"

#include "Colour.h"
#include "PeriodicNoise.h"
#include "Random.h"

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr int kTile = 100;
constexpr double kTau = 6.283185307179586;

using TTextureFunction = std::function<TColour(double x, double y)>;

TColour RedMarble(double x, double y)
{
    static const TPeriodicNoise noise(kTile, kTile, 3, 3, 11);
    const double swirl = noise.Turbulence(x, y, 5);
    const double wave = std::sin(kTau * (x / kTile + 2 * y / kTile) + 7.0 * swirl);
    const double vein = std::pow(1.0 - std::abs(wave), 10);
    const double cloud = 0.5 + 0.5 * noise.Fractal(x + 37, y + 11, 4);
    TColour stone = Mix({112, 18, 24}, {190, 52, 44}, cloud);
    return Mix(stone, {238, 196, 180}, 0.85 * vein);
}

TColour FoldedBands(double x, double y)
{
    static const TPeriodicNoise noise(kTile, kTile, 2, 2, 23);
    const double phase = kTau * (x + y) / kTile + 0.9 * noise.Fractal(x, y, 3);
    const double side = SmoothStep(-0.2, 0.2, std::sin(phase));
    TColour cloth = Mix({118, 22, 30}, {120, 118, 42}, side);
    // Light falls across each band like over a fold of cloth.
    const double fold = 0.72 + 0.28 * std::sin(2 * phase + 0.8) + 0.05 * noise.Fractal(x, y, 5);
    return cloth * fold;
}

double CrumpleHeight(const TPeriodicNoise& noise, double x, double y)
{
    double h = 0, weight = 1;
    for (int k = 0; k < 4; ++k) {
        h += weight * (1.0 - std::abs(noise.Octave(x, y, k)));
        weight *= 0.55;
    }
    return h;
}

TColour CrumpledViolet(double x, double y)
{
    static const TPeriodicNoise noise(kTile, kTile, 4, 4, 37);
    const double dx = CrumpleHeight(noise, x + 0.5, y) - CrumpleHeight(noise, x - 0.5, y);
    const double dy = CrumpleHeight(noise, x, y + 0.5) - CrumpleHeight(noise, x, y - 0.5);
    const double light = std::clamp(0.78 - 4.0 * (0.7 * dx + 0.7 * dy), 0.35, 1.35);
    return TColour{88, 72, 190} * light;
}

TColour Mottle(double x, double y)
{
    static const TPeriodicNoise noise(kTile, kTile, 4, 4, 41);
    const double t = SmoothStep(-0.18, 0.18, noise.Fractal(x, y, 5));
    const double grain = 1.0 + 0.08 * noise.Octave(x, y, 4);
    return Mix({204, 44, 164}, {44, 190, 196}, t) * grain;
}

struct TBubble {
    double x, y, r;
};

std::vector<TBubble> Bubbles()
{
    std::vector<TBubble> bubbles;
    TRandom random(53);
    for (int i = 0; i < 24; ++i)
        bubbles.push_back({random.Range(0, kTile), random.Range(0, kTile), random.Range(4, 13)});
    return bubbles;
}

// Offset along one axis on a tile that wraps around: the nearest copy counts.
double WrappedDelta(double a, double b)
{
    const double d = a - b;
    return d - kTile * std::round(d / kTile);
}

TColour BubblesOnOchre(double x, double y)
{
    static const TPeriodicNoise noise(kTile, kTile, 3, 3, 59);
    static const std::vector<TBubble> bubbles = Bubbles();
    TColour colour = TColour{206, 156, 66} * (1.0 + 0.07 * noise.Fractal(x, y, 4));
    for (const TBubble& b : bubbles) {
        const double wx = WrappedDelta(x, b.x), wy = WrappedDelta(y, b.y);
        const double d = std::hypot(wx, wy);
        const double cover = std::clamp(b.r - d + 0.5, 0.0, 1.0);
        if (cover <= 0)
            continue;
        // A shaded sphere lit from the top left, with a small highlight.
        const double nx = wx / b.r, ny = wy / b.r;
        const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
        const double lambert = std::max(0.0, -0.5 * nx - 0.5 * ny + 0.7 * nz);
        const double spot = std::pow(std::max(0.0, -0.45 * nx - 0.45 * ny + 0.77 * nz), 30);
        TColour bubble = TColour{96, 116, 30} * (0.45 + 0.75 * lambert);
        bubble = Mix(bubble, {240, 240, 200}, 0.8 * spot);
        // Dark rim where the bubble meets the ochre.
        bubble = bubble * (1.0 - 0.35 * SmoothStep(0.8, 1.0, d / b.r));
        colour = Mix(colour, bubble, cover);
    }
    return colour;
}

TColour NarrowStripes(double x, double y)
{
    static const TPeriodicNoise noise(kTile, kTile, 4, 4, 61);
    static const std::array<TColour, 3> colours{TColour{112, 52, 160}, TColour{236, 132, 36}, TColour{40, 84, 186}};
    const double u = 5.0 * (x - y) / kTile + 0.04 * noise.Fractal(x, y, 3);
    const double f = 3.0 * (u - std::floor(u));
    // Each stripe blends softly into the next over a fifth of its width.
    const int index = int(f) % 3;
    const double inStripe = f - std::floor(f);
    const double blend = SmoothStep(0.8, 1.0, inStripe);
    TColour c = Mix(colours[index], colours[(index + 1) % 3], blend);
    return c * (0.92 + 0.08 * noise.Fractal(x + 50, y, 4));
}

TColour BlurredStreaks(double x, double y)
{
    static const TPeriodicNoise across(kTile, kTile, 7, 1, 67);
    static const TPeriodicNoise drift(kTile, kTile, 2, 2, 71);
    const double n = across.Fractal(x + 6.0 * drift.Fractal(x, y, 2), y, 3, 0.45);
    const double t = SmoothStep(-0.3, 0.3, n);
    return Mix({28, 128, 136}, {210, 162, 72}, t) * (0.94 + 0.08 * drift.Fractal(x, y, 3));
}

const std::array<TTextureFunction, 7>& Textures()
{
    static const std::array<TTextureFunction, 7> textures{RedMarble, FoldedBands, CrumpledViolet, Mottle,
                                                          BubblesOnOchre, NarrowStripes, BlurredStreaks};
    return textures;
}

} // namespace

QImage MakeTextureSheet()
{
    QImage sheet(3 * kTile, 7 * kTile, QImage::Format_RGB32);
    for (int row = 0; row < 7; ++row) {
        const TTextureFunction& texture = Textures()[row];
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x) {
                // Sample at pixel centres; the functions repeat every kTile pixels.
                const TColour normal = texture(x + 0.5, y + 0.5);
                sheet.setPixel(x, row * kTile + y, normal.ToRgb());
                sheet.setPixel(kTile + x, row * kTile + y, (normal * 0.62).ToRgb());
                sheet.setPixel(2 * kTile + x, row * kTile + y, Lighter(normal, 0.38).ToRgb());
            }
    }
    return sheet;
}

QImage MakeGranite(bool light)
{
    constexpr int width = 160, height = 120;
    const TPeriodicNoise noise(width, height, 8, 6, 83);
    QImage granite(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double cloud = noise.Fractal(x + 0.5, y + 0.5, 5, 0.6);
            const double grain = HashUnit(x, y, 97);
            double v = 0.66 + 0.16 * cloud + 0.10 * (HashUnit(x, y, 101) - 0.5);
            if (grain < 0.07)
                v *= 0.45;  // dark mica
            else if (grain > 0.95)
                v = std::min(1.0, v * 1.3);  // bright quartz
            const double tint = 6.0 * (HashUnit(x / 2, y / 2, 103) - 0.5);
            TColour c{255 * v + tint, 255 * v, 255 * v - tint + 4};
            if (!light)
                c = c * 0.5;
            granite.setPixel(x, y, c.ToRgb());
        }
    return granite;
}
