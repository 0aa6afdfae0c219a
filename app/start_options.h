// The command line: a few options, read before anything else starts.
#pragma once

#include <string>
#include <string_view>

// What the player asked for at start; with no options, the game as it always started.
struct StartOptions {
    bool fullscreen = false;  // borderless fullscreen from the first frame, as F11 gives
    bool mute = false;        // the sound starts switched off
};

enum class StartAction {
    Run,      // play, with the options read
    Help,     // print the usage on stdout and leave with 0 (before --version)
    Version,  // print the version on stdout and leave with 0
    Refuse,   // any argument not understood: the usage on stderr, leave with 2
};

struct CommandLine {
    StartAction action = StartAction::Run;
    StartOptions options;
    std::string refused;  // the first argument not understood, when refused
};

CommandLine ReadCommandLine(int argc, const char* const* argv);
// "Marvaze 1.0.0"
std::string VersionLine();
std::string UsageText();
// `text` as it may be shown on a terminal: every byte outside printable ASCII as \xNN, so an
// argument cannot send the terminal escapes of its own.
std::string Printable(std::string_view text);
