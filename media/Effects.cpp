#include "media/Effects.h"

#include "assets/TWaveList.h"
#include "media/ProgramAudio.h"
#include "settings/Globals.h"


void EffectPlayer::Play(int n) {
    // The one place that honours the sound switch: with sound off even the
    // stop is ignored, and an effect already sounding plays to its end.
    if (!SoundOn || !output_)
        return;
    if (n == 0) {
        output_->Stop();
        return;
    }
    if (!waves_ || n < 1 || n > waves_->Count())
        return;
    const QByteArray& wave = waves_->Item(n - 1);
    if (wave.isEmpty() || !output_->HasDevice())
        return;
    output_->Play(wave);
}

namespace {

const TWaveList* effectWaves = nullptr;
SoundOutput* chosenOutput = nullptr;

}  // namespace

void SetEffectWaves(const TWaveList* waves) { effectWaves = waves; }

void SetEffectOutput(SoundOutput* output) { chosenOutput = output; }

void PlayEffect(int n) {
    EffectPlayer player(effectWaves, chosenOutput ? chosenOutput : &ProgramAudio());
    player.Play(n);
}
