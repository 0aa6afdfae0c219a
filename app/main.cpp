// Start-up, the same on every platform: the command line, one instance, the data folder, the
// window, the device, the fixed render states, the sound device and the game's sounds, then
// sessions until the menu is left or the window is closed. Each platform ring supplies the window
// and the few functions of platform/ring.h.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/game_sound.h"
#include "app/screen_sprites.h"
#include "app/session.h"
#include "app/session_cycle.h"
#include "app/start_options.h"
#include "platform/core/data_folder.h"
#include "platform/core/image_file.h"
#include "platform/report.h"
#include "platform/ring.h"
#include "render/render_states.h"

namespace {

// For the window tests only, which compare a frame of one platform's build with the other's:
// with MARVAZE_TEST_FRAME=N every session is seeded with 1 and the picture stays on frame N, while
// the window goes on answering and closes as usual. A player never sets it.
struct StillPicture : Host {
    Host& window;
    int lastFrame;
    int frame = 0;
    StillPicture(Host& w, int last) : window(w), lastFrame(last) {}
    bool PumpMessages() override {
        if (++frame <= lastFrame) return window.PumpMessages();
        for (;;) {
            if (window.PumpMessages()) return true;
            window.Sleep(50);
        }
    }
    uint32_t Ticks() override { return window.Ticks(); }
    void Sleep(uint32_t milliseconds) override { window.Sleep(milliseconds); }
    void ShowMessageBox(const std::string& text, const std::string& caption) override {
        window.ShowMessageBox(text, caption);
    }
};

std::unique_ptr<Host> TestStillPicture(Host& window) {
    const char* frame = std::getenv("MARVAZE_TEST_FRAME");
    if (frame == nullptr) return nullptr;
    sessionSeed = [] { return 1u; };
    return std::make_unique<StillPicture>(window, std::atoi(frame));
}

}  // namespace

int main(int argc, char** argv) {
    // Read before the single-instance claim: --help and --version answer while a copy runs.
    CommandLine line = ReadCommandLine(argc, argv);
    switch (line.action) {
        case StartAction::Help:
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        case StartAction::Version:
            std::puts(VersionLine().c_str());
            return 0;
        case StartAction::Refuse:
            Report("unknown option '" + line.refused + "'");
            std::fputs(UsageText().c_str(), stderr);
            return 2;
        case StartAction::Run:
            break;
    }
    const StartOptions& options = line.options;

    if (!ClaimSingleInstance()) return -1;
    SetBoxWithoutWindow(ShowBoxWithoutWindow);
    // Without its folder the game would only show a box for the sky and draw blank boxes.
    if (!EnterDataFolder(ExecutableFolder())) return -1;
    // Decoded while the window and the device are made, which take far longer.
    PrefetchImages(GameImageFiles());

    std::string error;
    std::unique_ptr<GameWindow> window = OpenGameWindow("Marvaze", 640, 480, error);
    if (window == nullptr) {
        Report("the window cannot be opened: " + error);
        return -1;
    }
    std::unique_ptr<Host> still = TestStillPicture(*window);
    InstallHost(still != nullptr ? still.get() : window.get(), window->Keys());

    std::unique_ptr<Device> created = window->CreateDevice(error);
    if (created == nullptr) {
        // The player may read no Japanese, or have no font for it: the reason in English too.
        Report(error, "Direct3D の初期化に失敗しました \n" + error, "D3初期化ｴﾗｰ ");
        InstallHost(nullptr, nullptr);
        return -1;
    }
    device = created.get();

    // As F11 would, once the device is made: its back buffer follows the window either way.
    if (options.fullscreen) window->GoFullscreen();

    InitRenderStates();
    InitLights();
    SetSoundMuted(options.mute);
    window->OpenAudio();
    StartGameSound();

    RunSessionCycle();
    StopGameSound();
    device = nullptr;
    InstallHost(nullptr, nullptr);
    return 0;
}
