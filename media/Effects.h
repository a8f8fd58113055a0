#pragma once
// The five sound effects of the game: 1 level won, 2 tile laid, 3 lay
// refused or time up, 4 unused, 5 tile thrown away; 0 silences.
#include "media/SoundOutput.h"

class TWaveList;

// Decides what a call of PlayEffect does: nothing while sound is off, a stop
// for 0, otherwise wave n-1 if there is one, there is something in it and
// the output has a device.
class EffectPlayer {
public:
    EffectPlayer(const TWaveList* waves, SoundOutput* output) : waves_(waves), output_(output) {}

    void Play(int n);

    void SetWaves(const TWaveList* waves) { waves_ = waves; }
    void SetOutput(SoundOutput* output) { output_ = output; }

private:
    const TWaveList* waves_;
    SoundOutput* output_;
};

// The program-wide effects, as the game calls them.
void PlayEffect(int n);
// The wave list the effects come from (the main window's `waves`); it must
// outlive every later PlayEffect. Null makes every effect silent.
void SetEffectWaves(const TWaveList* waves);
// Replaces the audio output (tests pass a recorder); null restores the
// program's audio output. The output is not owned.
void SetEffectOutput(SoundOutput* output);
