// Where the game finds its data/ folder.
#pragma once

#include <string>
#include <vector>

// The folders, in order, whose data/ the game would use: the working directory, the folder of
// the executable, the data folder of an installed tree around the executable, and the data folder
// of the prefix the game was built for.
std::vector<std::string> DataFolderCandidates();

// Makes the first candidate that has a data/ folder the working directory, since the game reads
// "data/..." relative to it. False (having said on stderr where it looked) when none has one; the
// game then runs on without its files.
bool EnterDataFolder();
