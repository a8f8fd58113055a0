#include "Sounds.h"

#include "Random.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kTau = 6.283185307179586;
constexpr double kNyquist = kSampleRate / 2.0;

int SampleCount(double seconds)
{
    return int(std::lround(seconds * kSampleRate));
}

// Scales to the given peak and ramps the last few milliseconds to silence, so no sound ends in a click.
QList<double> Finished(QList<double> samples, double peak, double tailSeconds = 0.01)
{
    double loudest = 0;
    for (double s : samples)
        loudest = std::max(loudest, std::abs(s));
    const int tail = std::min(int(samples.size()), SampleCount(tailSeconds));
    for (qsizetype i = 0; i < samples.size(); ++i) {
        double s = loudest > 0 ? samples[i] * peak / loudest : 0.0;
        const qsizetype fromEnd = samples.size() - 1 - i;
        if (fromEnd < tail)
            s *= double(fromEnd) / tail;
        samples[i] = s;
    }
    return samples;
}

// A struck bell: a few partials, the higher ones dying faster.
double Bell(double t, double frequency)
{
    if (t < 0)
        return 0;
    struct Partial { double ratio, amplitude, decay; };
    static constexpr Partial partials[] = {{1.0, 1.0, 0.42}, {2.0, 0.5, 0.25}, {3.01, 0.22, 0.16}, {4.16, 0.14, 0.09}};
    const double attack = std::min(1.0, t / 0.003);
    double sum = 0;
    for (const Partial& p : partials)
        if (frequency * p.ratio < kNyquist * 0.9)
            sum += p.amplitude * std::exp(-t / p.decay) * std::sin(kTau * frequency * p.ratio * t);
    return attack * sum;
}

// Sound 1: a bright rising chime of four bell notes, ringing out.
QList<double> LevelWon()
{
    QList<double> s(SampleCount(0.87));
    const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};
    for (qsizetype i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        double v = 0;
        for (int k = 0; k < 4; ++k)
            v += (k == 3 ? 0.8 : 0.6) * Bell(t - 0.075 * k, notes[k]);
        s[i] = v * (1.0 - 0.5 * t / 0.87);
    }
    return Finished(s, 0.85, 0.06);
}

// Sound 2: a short wooden click as a tile settles.
QList<double> TileLaid()
{
    QList<double> s(SampleCount(0.025));
    AssetRandom random(2);
    for (qsizetype i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double knock = std::exp(-t / 0.006) * std::sin(kTau * 420 * t);
        const double tick = std::exp(-t / 0.0025) * (0.6 * std::sin(kTau * 1900 * t) + 0.35 * random.Signed());
        s[i] = std::min(1.0, t / 0.0006) * (knock + tick);
    }
    return Finished(s, 0.9, 0.004);
}

// Sound 3: a low, slightly sour double tone that sinks and fades.
QList<double> Refused()
{
    QList<double> s(SampleCount(0.75));
    double phaseA = 0, phaseB = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double sink = 1.0 - 0.12 * t / 0.75;
        phaseA += kTau * 146.8 * sink / kSampleRate;
        phaseB += kTau * 138.6 * sink / kSampleRate;
        double v = 0;
        for (int h = 1; h <= 7; ++h) {
            // Upper harmonics fade first: the tone darkens as it dies.
            const double weight = std::pow(h, -1.2) * std::exp(-t * (1.5 + 1.2 * h));
            v += weight * (std::sin(h * phaseA) + 0.8 * std::sin(h * phaseB));
        }
        s[i] = std::min(1.0, t / 0.01) * v;
    }
    return Finished(s, 0.85, 0.05);
}

// Sound 4: a slide whistle falling over three octaves, with vibrato.
QList<double> FallingSlide()
{
    const double length = 2.29;
    QList<double> s(SampleCount(length));
    double phase = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double glide = 880.0 * std::pow(110.0 / 880.0, t / length);
        const double vibrato = 1.0 + 0.015 * std::sin(kTau * 5.5 * t);
        phase += kTau * glide * vibrato / kSampleRate;
        const double v = std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.15 * std::sin(3 * phase) + 0.06 * std::sin(4 * phase);
        const double envelope = std::min(1.0, t / 0.03) * std::min(1.0, (length - t) / 0.5);
        s[i] = envelope * v;
    }
    return Finished(s, 0.85);
}

// Sound 5: a swish of air, noise through a band-pass that sweeps downwards.
QList<double> Discarded()
{
    const double length = 0.30;
    QList<double> s(SampleCount(length));
    AssetRandom random(5);
    double low = 0, band = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        // Kept below 2.5 kHz: this filter form is stable only well under the Nyquist frequency.
        const double centre = 2400.0 * std::pow(500.0 / 2400.0, t / length);
        const double f = 2.0 * std::sin(kTau / 2 * centre / kSampleRate);
        const double damping = 0.5;
        const double high = random.Signed() - low - damping * band;
        band += f * high;
        low += f * band;
        const double envelope = std::pow(std::sin(kTau / 2 * std::min(1.0, t / length)), 1.5) * (1.0 - 0.3 * t / length);
        s[i] = envelope * (band + 0.2 * high * std::exp(-t / 0.05));
    }
    return Finished(s, 0.8, 0.02);
}

void AppendLe(QByteArray& out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

} // namespace

QByteArray RiffWave(const QList<double>& samples, int bitsPerSample)
{
    const int bytesPerSample = bitsPerSample / 8;
    const quint32 dataSize = quint32(samples.size() * bytesPerSample);
    const bool padded = dataSize % 2 == 1;  // RIFF chunks are word-aligned
    QByteArray out;
    out.append("RIFF");
    AppendLe(out, 4 + (8 + 16) + (8 + dataSize + (padded ? 1 : 0)), 4);
    out.append("WAVE");
    out.append("fmt ");
    AppendLe(out, 16, 4);
    AppendLe(out, 1, 2);  // PCM
    AppendLe(out, 1, 2);  // mono
    AppendLe(out, kSampleRate, 4);
    AppendLe(out, kSampleRate * bytesPerSample, 4);
    AppendLe(out, bytesPerSample, 2);
    AppendLe(out, bitsPerSample, 2);
    out.append("data");
    AppendLe(out, dataSize, 4);
    for (double s : samples) {
        const double v = std::clamp(s, -1.0, 1.0);
        if (bitsPerSample == 8)
            out.append(char(quint8(std::lround(128 + 127 * v))));
        else
            AppendLe(out, quint16(qint16(std::lround(32767 * v))), 2);
    }
    if (padded)
        out.append('\0');
    return out;
}

QList<QByteArray> MakeSoundEffects()
{
    return {RiffWave(LevelWon(), 16), RiffWave(TileLaid(), 8), RiffWave(Refused(), 8),
            RiffWave(FallingSlide(), 8), RiffWave(Discarded(), 8)};
}
