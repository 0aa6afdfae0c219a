// Where the game finds its data/ folder, the same on every platform.
#pragma once

#include <filesystem>

// Makes the first folder that has a data/ folder the working directory, since the game reads
// "data/..." relative to it: the working directory, then the folder of the executable, then (on
// an installed Linux tree) the data folder around the executable and that of the prefix the game
// was built for. False (having said where it looked) when none has one; the game then runs on
// without its files. The ring says where its executable is (empty when unknown), so this
// portable search needs nothing of the rings.
bool EnterDataFolder(const std::filesystem::path& executableFolder);
