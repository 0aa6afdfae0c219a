// Starting the game's sounds in tests, which may run outside the source tree.
#pragma once

#include <filesystem>

#include "app/game_sound.h"

// The game reads its sounds from data/ in the working directory.
inline void StartGameSoundFromSourceTree() {
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(MARVAZE_SOURCE_DIR);
    StartGameSound();
    std::filesystem::current_path(here);
}
