// The sound device on SDL2: SDL's audio thread plays the process's mixer. The device is opened on
// a thread of its own, because opening can hang (a sound server that accepts and never answers,
// the disk driver's file a FIFO nobody reads) and the window must answer from its first frame.
#pragma once

// Starts opening the default audio device at 44100 Hz, 16 bits, 2 channels, for gameMixer.
void StartOpeningAudio();
// At every pump: starts the device once it is open. When it cannot be had, or not within a
// second, the game says so in one line and runs silent, its mixer played into nothing.
void TendAudio();
// Closes the device. False when the opening is still stuck inside SDL's audio code: SDL's audio
// must then be left alone (not quit), and the stuck thread ends with the process.
bool CloseAudio();
