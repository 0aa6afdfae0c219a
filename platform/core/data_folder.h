// Where the game finds its data/ folder, the same on every platform.
#pragma once

// Makes the first folder that has a data/ folder the working directory, since the game reads
// "data/..." relative to it: the working directory, then the folder of the executable, then (on
// an installed Linux tree) the data folder around the executable and that of the prefix the game
// was built for. False (having said where it looked) when none has one; the game then runs on
// without its files.
bool EnterDataFolder();
