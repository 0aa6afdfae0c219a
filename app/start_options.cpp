#include "app/start_options.h"

#include <cstdio>

namespace {

// Reads "N" (a whole number of frames, at most nine digits); -1 when it is not one.
int64_t FrameNumber(std::string_view text) {
    if (text.empty() || text.size() > 9) return -1;
    int64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

CommandLine ReadCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    StartOptions& o = line.options;
    bool help = false, version = false;
    auto refuse = [&](const std::string& why) {
        if (line.refusal.empty()) line.refusal = why;
    };
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        const DemoMode mode = argument == "--record"     ? DemoMode::Record
                              : argument == "--playdemo" ? DemoMode::Play
                              : argument == "--timedemo" ? DemoMode::Time
                                                         : DemoMode::Off;
        if (argument == "--help") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == "--fullscreen") {
            o.fullscreen = true;
        } else if (argument == "--mute") {
            o.mute = true;
        } else if (mode != DemoMode::Off) {
            if (i + 1 == argc) {
                refuse(Printable(argument) + " needs a FILE");
            } else if (o.demo != DemoMode::Off) {
                refuse("one demo at a time: " + Printable(argument) + " cannot come with another");
            } else {
                o.demo = mode;
                o.demoFile = argv[++i];
            }
        } else if (argument == "--pause-at") {
            o.pauseAt = i + 1 < argc ? FrameNumber(argv[++i]) : -1;
            if (o.pauseAt < 0) refuse("--pause-at needs a number of frames");
        } else {
            refuse("unknown option '" + Printable(argument) + "'");
        }
    }
    if (o.pauseAt >= 0 && o.demo != DemoMode::Play) refuse("--pause-at goes with --playdemo");
    // A mistyped option anywhere is refused rather than half obeyed.
    if (!line.refusal.empty())
        line.action = StartAction::Refuse;
    else if (help)
        line.action = StartAction::Help;
    else if (version)
        line.action = StartAction::Version;
    return line;
}

std::string VersionLine() { return std::string("Marvaze ") + MARVAZE_VERSION; }

std::string UsageText() {
    return "Usage: marvaze [OPTION]...\n"
           "A side-view air-combat game.\n"
           "\n"
           "  --fullscreen       start in borderless fullscreen (F11 switches back)\n"
           "  --mute             start with the sound off\n"
           "  --record FILE      play as usual and record the run into FILE, a demo\n"
           "  --playdemo FILE    play the demo FILE back (Escape stops it)\n"
           "  --pause-at FRAME   with --playdemo: hold the picture at that frame\n"
           "  --timedemo FILE    play the demo FILE as fast as it can be drawn, then say\n"
           "                     how fast and the world's final digest\n"
           "  --help             print this help and exit\n"
           "  --version          print the version and exit\n";
}

std::string Printable(std::string_view text) {
    std::string shown;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            shown += escaped;
        }
    }
    return shown;
}
