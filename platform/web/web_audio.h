// The game's mixer (platform/core/mixer.h) played through Web Audio.
#pragma once

// Makes the page's audio context at the mixer's rate; it starts at the player's first key or touch,
// as browsers allow. False when the browser has no Web Audio: the game then runs silent.
bool OpenWebAudio();
// Once a frame: mixes what the audio clock will need before the next frames and queues it.
// Called whether or not the sound could be opened.
void FeedWebAudio();
