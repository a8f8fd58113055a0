#pragma once
// The five sound effects as complete RIFF WAVE images (PCM, mono, 11025 Hz).
#include <QByteArray>
#include <QList>

constexpr int kSampleRate = 11025;

// Effect n (1..5) is element n - 1.
QList<QByteArray> MakeSoundEffects();

// A RIFF WAVE image of the samples (each in [-1, 1]) with 8 (unsigned) or 16 (signed) bits.
QByteArray RiffWave(const QList<double>& samples, int bitsPerSample);
