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

using TextureFunction = std::function<Colour(double x, double y)>;

Colour RedMarble(double x, double y)
{
    static const PeriodicNoise noise(kTile, kTile, 3, 3, 11);
    const double swirl = noise.Turbulence(x, y, 5);
    const double wave = std::sin(kTau * (x / kTile + 2 * y / kTile) + 5.0 * swirl);
    // A bright, soft main vein and a thin darker one beside it.
    const double vein = std::pow(1.0 - std::abs(wave), 5);
    const double seam = std::pow(1.0 - std::abs(std::sin(kTau * (2 * x / kTile - y / kTile) + 4.0 * swirl)), 14);
    const double cloud = 0.5 + 0.5 * noise.Fractal(x + 37, y + 11, 4);
    Colour stone = Mix({112, 18, 24}, {186, 50, 44}, cloud);
    stone = Mix(stone, {70, 8, 12}, 0.5 * seam);
    return Mix(stone, {236, 186, 170}, 0.75 * vein);
}

Colour FoldedBands(double x, double y)
{
    static const PeriodicNoise noise(kTile, kTile, 2, 2, 23);
    const double phase = kTau * (x + y) / kTile + 0.9 * noise.Fractal(x, y, 3);
    const double side = SmoothStep(-0.2, 0.2, std::sin(phase));
    Colour cloth = Mix({118, 22, 30}, {120, 118, 42}, side);
    // Light falls across each band like over a fold of cloth.
    const double fold = 0.72 + 0.28 * std::sin(2 * phase + 0.8) + 0.05 * noise.Fractal(x, y, 5);
    return cloth * fold;
}

// Creases of several sizes whose lattices do not line up, so no grid shows.
double CrumpleHeight(double x, double y)
{
    static const PeriodicNoise coarse(kTile, kTile, 3, 3, 37), middle(kTile, kTile, 5, 5, 38),
        fine(kTile, kTile, 8, 8, 39), finest(kTile, kTile, 13, 13, 40);
    return 1.0 * (1.0 - std::abs(coarse.GradientOctave(x, y, 0))) + 0.6 * (1.0 - std::abs(middle.GradientOctave(x, y, 0)))
        + 0.35 * (1.0 - std::abs(fine.GradientOctave(x, y, 0))) + 0.2 * (1.0 - std::abs(finest.GradientOctave(x, y, 0)));
}

Colour CrumpledViolet(double x, double y)
{
    // Shifted so that no long crease runs along the tile's edge, where it would read as a seam.
    y += 30;
    const double dx = CrumpleHeight(x + 0.5, y) - CrumpleHeight(x - 0.5, y);
    const double dy = CrumpleHeight(x, y + 0.5) - CrumpleHeight(x, y - 0.5);
    const double light = std::clamp(0.78 - 4.0 * (0.7 * dx + 0.7 * dy), 0.35, 1.35);
    return Colour{88, 72, 190} * light;
}

Colour Mottle(double x, double y)
{
    static const PeriodicNoise noise(kTile, kTile, 4, 4, 41);
    const double t = SmoothStep(-0.18, 0.18, noise.Fractal(x, y, 5));
    const double grain = 1.0 + 0.08 * noise.Octave(x, y, 4);
    return Mix({204, 44, 164}, {44, 190, 196}, t) * grain;
}

struct Bubble {
    double x, y, r;
};

std::vector<Bubble> Bubbles()
{
    std::vector<Bubble> bubbles;
    AssetRandom random(53);
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

Colour BubblesOnOchre(double x, double y)
{
    static const PeriodicNoise noise(kTile, kTile, 3, 3, 59);
    static const std::vector<Bubble> bubbles = Bubbles();
    Colour colour = Colour{206, 156, 66} * (1.0 + 0.07 * noise.Fractal(x, y, 4));
    for (const Bubble& b : bubbles) {
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
        Colour bubble = Colour{96, 116, 30} * (0.45 + 0.75 * lambert);
        bubble = Mix(bubble, {240, 240, 200}, 0.8 * spot);
        // Dark rim where the bubble meets the ochre.
        bubble = bubble * (1.0 - 0.35 * SmoothStep(0.8, 1.0, d / b.r));
        colour = Mix(colour, bubble, cover);
    }
    return colour;
}

Colour NarrowStripes(double x, double y)
{
    static const PeriodicNoise noise(kTile, kTile, 4, 4, 61);
    static const std::array<Colour, 3> colours{Colour{112, 52, 160}, Colour{236, 132, 36}, Colour{40, 84, 186}};
    const double u = 5.0 * (x - y) / kTile + 0.04 * noise.Fractal(x, y, 3);
    const double f = 3.0 * (u - std::floor(u));
    // Each stripe blends softly into the next over a fifth of its width.
    const int index = int(f) % 3;
    const double inStripe = f - std::floor(f);
    const double blend = SmoothStep(0.8, 1.0, inStripe);
    Colour c = Mix(colours[index], colours[(index + 1) % 3], blend);
    return c * (0.92 + 0.08 * noise.Fractal(x + 50, y, 4));
}

Colour BlurredStreaks(double x, double y)
{
    static const PeriodicNoise across(kTile, kTile, 7, 1, 67);
    static const PeriodicNoise drift(kTile, kTile, 2, 2, 71);
    const double n = across.Fractal(x + 6.0 * drift.Fractal(x, y, 2), y, 3, 0.45);
    const double t = SmoothStep(-0.3, 0.3, n);
    return Mix({28, 128, 136}, {210, 162, 72}, t) * (0.94 + 0.08 * drift.Fractal(x, y, 3));
}

const std::array<TextureFunction, 7>& Textures()
{
    static const std::array<TextureFunction, 7> textures{RedMarble, FoldedBands, CrumpledViolet, Mottle,
                                                          BubblesOnOchre, NarrowStripes, BlurredStreaks};
    return textures;
}

} // namespace

QImage MakeTextureSheet()
{
    QImage sheet(3 * kTile, 7 * kTile, QImage::Format_RGB32);
    for (int row = 0; row < 7; ++row) {
        const TextureFunction& texture = Textures()[row];
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x) {
                // Sample at pixel centres; the functions repeat every kTile pixels.
                const Colour normal = texture(x + 0.5, y + 0.5);
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
    const PeriodicNoise cloud(width, height, 4, 3, 83);
    const PeriodicNoise crystals(width, height, 40, 30, 89);  // grains of about four pixels
    QImage granite(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double grain = HashUnit(x, y, 97);
            double v = 0.68 + 0.07 * cloud.Fractal(x + 0.5, y + 0.5, 3) + 0.09 * crystals.Octave(x + 0.5, y + 0.5, 0)
                + 0.05 * (HashUnit(x, y, 101) - 0.5);
            if (grain < 0.035)
                v *= 0.55;  // dark mica
            else if (grain > 0.975)
                v = std::min(1.0, v * 1.22);  // bright quartz
            // Feldspar gives some grains a faint warm tint.
            const double warm = 10.0 * std::max(0.0, crystals.Octave(x + 40.5, y + 0.5, 0) - 0.4);
            Colour c{255 * v + warm, 255 * v + warm * 0.4, 255 * v - warm * 0.3 + 3};
            if (!light)
                c = c * 0.5;
            granite.setPixel(x, y, c.ToRgb());
        }
    return granite;
}
