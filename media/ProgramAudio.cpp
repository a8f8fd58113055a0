#include "media/ProgramAudio.h"

#include "media/OpenAlBackend.h"

namespace {
// Long enough to close a device on a slow machine; short enough that a
// player who closes the game while the sound server hangs sees it go.
constexpr std::chrono::milliseconds kEndPatience{2000};

std::unique_ptr<AudioThread>& Audio() {
    static std::unique_ptr<AudioThread> audio;
    return audio;
}
}  // namespace

AudioThread& ProgramAudio() {
    if (!Audio())
        Audio() = std::make_unique<AudioThread>(std::make_unique<OpenAlBackend>());
    return *Audio();
}

bool EndProgramAudio() {
    if (!Audio())
        return true;
    if (Audio()->Finish(kEndPatience)) {
        Audio().reset();
        return true;
    }
    // Still inside the library: the thread uses the object, so it stays.
    Audio().release();
    return false;
}
