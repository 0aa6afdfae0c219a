#include "app/start_options.h"

#include <cstdio>

CommandLine ReadCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    bool help = false, version = false, refuse = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == "--help")
            help = true;
        else if (argument == "--version")
            version = true;
        else if (argument == "--fullscreen")
            line.options.fullscreen = true;
        else if (argument == "--mute")
            line.options.mute = true;
        else if (!refuse) {
            refuse = true;
            line.refused = argument;
        }
    }
    // A mistyped option anywhere is refused rather than half obeyed.
    if (refuse)
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
           "  --fullscreen  start in borderless fullscreen (F11 switches back)\n"
           "  --mute        start with the sound off\n"
           "  --help        print this help and exit\n"
           "  --version     print the version and exit\n";
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
