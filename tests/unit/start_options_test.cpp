// The command line: each option, the plain start, and what is refused. What the program then
// prints (the version, the usage, a refused option with its terminal escapes defused) and its exit
// status are checked on the real program by the window tests, with --version alone, -h and a
// word without dashes.
#include "app/start_options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

CommandLine Read(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv{"marvaze"};
    argv.insert(argv.end(), arguments);
    return ReadCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(StartOptions, OptionsCombineInAnyOrderAndHelpComesBeforeVersionAndPlaying) {
    // Some launchers pass nothing at all, not even the program's name.
    EXPECT_EQ(ReadCommandLine(0, nullptr).action, StartAction::Run);
    CommandLine line = Read({});
    EXPECT_TRUE(line.action == StartAction::Run && !line.options.fullscreen && !line.options.mute);
    line = Read({"--mute"});
    EXPECT_TRUE(line.action == StartAction::Run && line.options.mute && !line.options.fullscreen);
    for (auto arguments : {std::initializer_list<const char*>{"--fullscreen", "--mute"},
                           {"--mute", "--fullscreen", "--mute"}}) {
        line = Read(arguments);
        EXPECT_TRUE(line.action == StartAction::Run && line.options.fullscreen &&
                    line.options.mute);
    }
    EXPECT_EQ(Read({"--version", "--help"}).action, StartAction::Help);
    EXPECT_EQ(Read({"--fullscreen", "--version"}).action, StartAction::Version);
}

TEST(StartOptions, AnythingElseIsRefusedWhereverItStands) {
    for (auto arguments : {std::initializer_list<const char*>{"--Fullscreen"},
                           {"--mute="},
                           {""},
                           {"-"},
                           {"--"},
                           {"--mute", "--help", "--bogus"},
                           {"--bogus", "--version"}}) {
        CommandLine line = Read(arguments);
        EXPECT_EQ(line.action, StartAction::Refuse) << *arguments.begin();
    }
    CommandLine line = Read({"--fullscreen", "--fast", "--slow"});
    EXPECT_EQ(line.refusal, "unknown option '--fast'");  // the first one is the one reported
    EXPECT_EQ(Read({"", "--fast"}).refusal, "unknown option ''");
}

}  // namespace
