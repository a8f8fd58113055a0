#pragma once
// The program's one way to the loudspeaker: the audio thread over OpenAL,
// made on first use (the first effect or piece), so that a game that stays
// silent never starts it.
#include "media/AudioThread.h"

AudioThread& ProgramAudio();
// Closes the device and ends the thread, waiting a moment at most. False
// when the thread is held by a sound server that does not answer: it is
// then left behind, and the program should end without running the audio
// library's clean-up, which would wait for the same server.
bool EndProgramAudio();
