// The sound device on SDL2: SDL's audio thread plays the process's mixer.
#pragma once

#include <cstdint>

// Opens the default audio device at 44100 Hz, 16 bits, 2 channels, playing gameMixer; falls back
// to a silent device when there is no sound hardware. 0 when not even that opens.
uint32_t OpenSdlAudio();
void CloseSdlAudio(uint32_t device);
