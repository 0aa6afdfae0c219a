// The game's sound: the clips from data/, the world's events turned into voices of the process's
// mixer, the engine's drone, the menu's sounds and the M key. Until StartGameSound (tests, the
// soak) none of it runs and the world has no listener.
#pragma once

#include "world/records.h"

// Reads the clips from data/ (a missing or bad one stays silent) and starts listening to the
// world. The start-up calls it once the sound device is open.
void StartGameSound();
// Stops listening, silences every voice and frees the clips.
void StopGameSound();

// Sound off or on; M toggles it, and the start-up may set it first (the --mute option).
void SetSoundMuted(bool muted);
bool SoundMuted();

// Once a frame, after the camera has moved: the M key, and the engine's drone following the
// player's speed while a game runs.
void SoundFrame(const GameObject& player, bool inGame);

enum MenuSound { MenuCursorMoved, MenuEntryConfirmed };
void PlayMenuSound(MenuSound sound);
