// Where the game finds its data/ folder, the same on every platform.
#pragma once

#include <filesystem>

// Makes the first folder that has a data/ folder the working directory, since the game reads
// "data/..." relative to it: the working directory, then the folder of the executable, then (on
// an installed Linux tree) the data folder around the executable and that of the prefix the game
// was built for. False when none has one, having said so and where it looked (in a box when the
// start-up has given one, platform/report.h). The ring says where its executable is (empty when
// unknown), so this portable search needs nothing of the rings.
bool EnterDataFolder(const std::filesystem::path& executableFolder);
