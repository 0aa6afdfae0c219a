// The command line: each option, the plain start, and what is refused.
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

TEST(StartOptions, NoArgumentsPlayAsAlways) {
    CommandLine line = Read({});
    EXPECT_EQ(line.action, StartAction::Run);
    EXPECT_FALSE(line.options.fullscreen);
    EXPECT_FALSE(line.options.mute);
    // Some launchers pass nothing at all, not even the program's name.
    EXPECT_EQ(ReadCommandLine(0, nullptr).action, StartAction::Run);
}

TEST(StartOptions, FullscreenAndMuteCombineInAnyOrder) {
    CommandLine line = Read({"--mute"});
    EXPECT_EQ(line.action, StartAction::Run);
    EXPECT_TRUE(line.options.mute);
    EXPECT_FALSE(line.options.fullscreen);
    line = Read({"--fullscreen", "--mute"});
    EXPECT_EQ(line.action, StartAction::Run);
    EXPECT_TRUE(line.options.fullscreen && line.options.mute);
    line = Read({"--mute", "--fullscreen", "--mute"});
    EXPECT_TRUE(line.options.fullscreen && line.options.mute);
}

TEST(StartOptions, HelpComesBeforeVersionAndBothBeforePlaying) {
    EXPECT_EQ(Read({"--version"}).action, StartAction::Version);
    EXPECT_EQ(Read({"--help"}).action, StartAction::Help);
    EXPECT_EQ(Read({"--version", "--help"}).action, StartAction::Help);
    EXPECT_EQ(Read({"--fullscreen", "--version"}).action, StartAction::Version);
    EXPECT_EQ(VersionLine(), std::string("Marvaze ") + MARVAZE_VERSION);
    for (const char* option : {"--help", "--version", "--fullscreen", "--mute"})
        EXPECT_NE(UsageText().find(option), std::string::npos) << option;
}

TEST(StartOptions, AnythingElseIsRefusedWhereverItStands) {
    for (auto arguments : {std::initializer_list<const char*>{"-h"},
                           {"--Fullscreen"},
                           {"--mute="},
                           {"fullscreen"},
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
    // Said back with its terminal escapes defused.
    EXPECT_EQ(Printable("--x\x1b[2J\x9b\\"), "--x\\x1b[2J\\x9b\\x5c");
}

}  // namespace
