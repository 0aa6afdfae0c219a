// Every data file in turn missing, empty, truncated or replaced by random bytes, and no data
// folder at all: the game runs on, and only a bad sky shows its error box, once. Each case runs in
// a fresh process, since images and the sky are loaded once per process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/game_sound.h"
#include "app/screen_sprites.h"
#include "app/session.h"
#include "platform/core/headless_host.h"
#include "platform/core/image_file.h"
#include "platform/core/null_device.h"
#include "platform/core/xfile.h"
#include "platform/seam.h"
#include "tests/unit/png_bomb.h"
#include "tests/unit/render_test_files.h"
#include "world/object_list.h"

namespace fs = std::filesystem;

namespace {

enum class Damage { Missing, Empty, Truncated, Noise };

struct BadDataCase {
    std::string file;  // empty: the whole folder is missing
    Damage damage;
};

std::string Name(const ::testing::TestParamInfo<BadDataCase>& info) {
    static const char* names[] = {"Missing", "Empty", "Truncated", "Noise"};
    std::string file = info.param.file.empty() ? "DataFolder" : info.param.file;
    for (char& c : file)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return file + "_" + names[static_cast<int>(info.param.damage)];
}

std::vector<BadDataCase> Cases() {
    std::vector<BadDataCase> cases{{"", Damage::Missing}};
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(fs::path(MARVAZE_SOURCE_DIR) / "data"))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    for (const std::string& file : files)
        for (Damage d : {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::Noise})
            cases.push_back({file, d});
    return cases;
}

void Spoil(const fs::path& path, Damage damage) {
    if (damage == Damage::Missing) {
        fs::remove(path);
        return;
    }
    std::string bytes = ReadBytes(path.string());
    if (damage == Damage::Empty) bytes.clear();
    if (damage == Damage::Truncated) bytes.resize(bytes.size() / 2);
    if (damage == Damage::Noise) {
        std::mt19937 random(static_cast<uint32_t>(bytes.size()));
        for (char& c : bytes) c = static_cast<char>(random());
    }
    WriteText(path.string(), bytes);
}

// A fresh folder named for the case, worked in from here: with a copy of the game's data, or none.
fs::path Enter(const std::string& name, bool withData = true) {
    fs::path folder = fs::temp_directory_path() / ("marvaze-" + name + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    if (withData) fs::copy(fs::path(MARVAZE_SOURCE_DIR) / "data", folder / "data");
    fs::current_path(folder);
    return folder;
}

void Leave(const fs::path& folder) {
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(folder);
}

// A menu demonstration and a game of `frames` frames each, the images decoded ahead as the
// program starts; the error boxes shown.
std::vector<std::pair<std::string, std::string>> Play(int frames) {
    PrefetchImages(GameImageFiles());
    NullDevice nullDevice;
    device = &nullDevice;
    HeadlessHost headless;
    for (int inGame : {0, 1}) {
        headless.closeAtFrame = headless.frame + frames;
        world.inGame = inGame;
        RunSession();
        DestroyWorldObjects();
    }
    device = nullptr;
    return headless.messageBoxes;
}

// Exits with the number of error boxes seen, or 100 when one of them is not the sky's.
[[noreturn]] void PlayOnSpoiledData(const BadDataCase& c) {
    fs::path folder = Enter("bad-data-", !c.file.empty());
    if (!c.file.empty()) Spoil("data/" + c.file, c.damage);
    StartGameSound();
    const auto boxes = Play(60);
    Leave(folder);
    for (const auto& [text, caption] : boxes)
        if (text != "data/sky.x" || caption != "error") std::_Exit(100);
    std::_Exit(static_cast<int>(boxes.size()));
}

class BadDataTest : public ::testing::TestWithParam<BadDataCase> {};

TEST_P(BadDataTest, GameRunsOnAndOnlyABadSkyShowsItsBoxOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const BadDataCase& c = GetParam();
    // A cut text mesh can still be whole up to a point, but never the complete file.
    int boxes = c.file.empty() || c.file == "sky.x" ? 1 : 0;
    EXPECT_EXIT(PlayOnSpoiledData(c), ::testing::ExitedWithCode(boxes), "");
}

INSTANTIATE_TEST_SUITE_P(EveryFile, BadDataTest, ::testing::ValuesIn(Cases()), Name);

// FIFOs under the names of data files, used or not: read as missing, and the process still
// ends (std::exit runs the destructors, so a decoding thread stuck in open() would hang it; the
// alarm turns a hang into a failure). Exits with the number of error boxes.
[[noreturn]] void PlayWithFifos(bool skyIsFifo) {
    alarm(20);
    fs::path folder = Enter("fifo-");
    for (const char* name : {"title.png", "sky.png", "never-used.png", skyIsFifo ? "sky.x" : ""}) {
        if (*name == 0) continue;
        fs::remove(fs::path("data") / name);
        if (mkfifo((std::string("data/") + name).c_str(), 0600) != 0) std::_Exit(101);
    }
    // Standard input as a pipe nobody writes to.
    int ends[2];
    if (pipe(ends) != 0 || dup2(ends[0], 0) < 0) std::_Exit(102);
    XMeshData mesh;
    std::string error;
    if (ReadXFile("/proc/self/fd/0", mesh, error) || LoadImageFile("/proc/self/fd/0"))
        std::_Exit(103);
    const size_t boxes = Play(30).size();
    Leave(folder);
    std::exit(static_cast<int>(boxes));
}

TEST(BadDataFifo, FifosReadAsMissingAndNeverKeepTheProcessFromEnding) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(PlayWithFifos(false), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(PlayWithFifos(true), ::testing::ExitedWithCode(1), "");
}

// Images that fail only at their last row, asked for at every draw: each is opened once, not
// once a draw. Exits with 0 when so, having said the counts on stderr.
[[noreturn]] void PlayWithLateFailingImages() {
    fs::path folder = Enter("late-");
    const char* const spoiled[] = {"title.png", "team0.png"};
    Picture noise(1024, 1024, 0);
    std::mt19937 random(3);
    for (uint8_t& byte : noise.rgba) byte = static_cast<uint8_t>(random());
    for (const char* name : spoiled) {
        std::string path = std::string("data/") + name;
        WritePicture(path, noise);
        fs::resize_file(path, fs::file_size(path) - 100);
    }
    int watch = inotify_init1(IN_NONBLOCK);
    inotify_add_watch(watch, "data", IN_OPEN);
    Play(100);
    int opens[2] = {};
    alignas(inotify_event) char buffer[65536];
    for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;)
        for (char* at = buffer; at < buffer + n;) {
            auto* event = reinterpret_cast<inotify_event*>(at);
            for (int i = 0; i < 2; ++i)
                if (event->len > 0 && std::string(event->name) == spoiled[i]) ++opens[i];
            at += sizeof(inotify_event) + event->len;
        }
    // Mended, it is picked up at a use a second later.
    WritePng("data/title.png", 4, 4, 0xffffffff);
    usleep(1100000);
    bool mended = LoadImageFile("data/title.png").has_value();
    Leave(folder);
    std::fprintf(stderr, "opens of title.png: %d, of team0.png: %d\n", opens[0], opens[1]);
    std::_Exit(opens[0] == 1 && opens[1] == 1 && mended ? 0 : 1);
}

TEST(BadDataRetry, AnImageThatFailsLateIsReadOnceUntilItChanges) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(PlayWithLateFailingImages(), ::testing::ExitedWithCode(0), "");
}

// Kilobytes of the process's resident peak ("VmHWM") or present size ("VmRSS").
long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field) + 1));
    return -1;
}

// Files built to take memory: big images the game never reads, a mesh file of nothing but
// separators just under the size limit, a title whose pixel data inflates to 4.2 GB and a team
// image that claims a chunk of 2 GB. The game's peak memory over its start grows by little, and
// the two images are refused.
[[noreturn]] void PlayOnMemoryHungryData() {
    fs::path folder = Enter("memory-");
    WritePng("data/unused0.png", 2048, 2048, 0x336699ff);
    for (int i = 1; i < 8; ++i)
        fs::copy_file("data/unused0.png", "data/unused" + std::to_string(i) + ".png");
    std::ofstream("data/sky.x") << "xof 0303txt 0032\n" << std::string((15 << 20), ';');
    std::ofstream("data/title.png", std::ios::binary) << PngBomb(4094, 4'200'000'000);
    fs::copy_file(
        fs::path(MARVAZE_SOURCE_DIR) / "tests/fuzz/regressions/image/idat-claims-2gib.png",
        "data/team0.png", fs::copy_options::overwrite_existing);
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    long before = StatusKb("VmRSS:");
    const size_t boxes = Play(20).size();
    long grown = StatusKb("VmHWM:") - before;
    bool refused = !LoadImageFile("data/title.png") && !LoadImageFile("data/team0.png");
    Leave(folder);
    std::fprintf(stderr, "peak grew by %ld KiB\n", grown);
    std::_Exit(boxes == 1 && grown < 40 * 1024 && refused ? 0 : 1);
}

TEST(BadDataMemory, FilesMadeToTakeMemoryDoNot) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP()
        << "AddressSanitizer keeps freed memory in quarantine: its peaks are not the game's";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(PlayOnMemoryHungryData(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
