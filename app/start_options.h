// The command line: a few options, read before anything else starts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class DemoMode {
    Off,
    Record,  // play as usual and write the run into the file
    Play,    // play the file back at the normal pace, with sound
    Time,    // play the file back as fast as the machine can and say how fast
};

// What the player asked for at start; with no options, the game as it always started.
struct StartOptions {
    bool fullscreen = false;  // borderless fullscreen from the first frame, as F11 gives
    bool mute = false;        // the sound starts switched off
    DemoMode demo = DemoMode::Off;
    std::string demoFile;
    int64_t pauseAt = -1;  // a playback holds its picture once this many frames are shown
};

enum class StartAction {
    Run,      // play, with the options read
    Help,     // print the usage on stdout and leave with 0 (before --version)
    Version,  // print the version on stdout and leave with 0
    Refuse,   // any argument not understood or not obeyable: the usage on stderr, leave with 2
};

struct CommandLine {
    StartAction action = StartAction::Run;
    StartOptions options;
    std::string refusal;  // why, when refused: one line, safe to print
};

CommandLine ReadCommandLine(int argc, const char* const* argv);
// "Marvaze 1.0.0"
std::string VersionLine();
std::string UsageText();
// `text` as it may be shown on a terminal: every byte outside printable ASCII as \xNN, so an
// argument cannot send the terminal escapes of its own.
std::string Printable(std::string_view text);
