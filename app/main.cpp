// Start-up, the same on every platform: the command line, one instance, the data folder, the
// window, the device, the fixed render states, the sound device and the game's sounds, then
// sessions until the menu is left or the window is closed. Each platform ring supplies the window
// and the few functions of platform/ring.h.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/demo.h"
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

// Writes `text` on stdout; a failed write (a full disk, a closed stdout) is said, not ignored.
bool WriteOut(const std::string& text) {
    errno = 0;
    if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    Report(std::string("cannot write to standard output: ") + std::strerror(errno));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Read before the single-instance claim: --help and --version answer while a copy runs.
    CommandLine line = ReadCommandLine(argc, argv);
    switch (line.action) {
        case StartAction::Help:
            return WriteOut(UsageText()) ? 0 : 1;
        case StartAction::Version:
            return WriteOut(VersionLine() + "\n") ? 0 : 1;
        case StartAction::Refuse:
            Report(line.refusal);
            std::fputs(UsageText().c_str(), stderr);
            return 2;
        case StartAction::Run:
            break;
    }
    const StartOptions& options = line.options;

    if (!ClaimSingleInstance()) return -1;
    std::string error;
    // A demo that cannot be had is said before any window opens.
    if (!StartDemo(options, error)) {
        Report(error);
        return 2;
    }
    SetBoxWithoutWindow(ShowBoxWithoutWindow);
    // Without its folder the game would only show a box for the sky and draw blank boxes.
    if (!EnterDataFolder(ExecutableFolder())) return -1;
    // Decoded while the window and the device are made, which take far longer.
    PrefetchImages(GameImageFiles());

    std::unique_ptr<GameWindow> window = OpenGameWindow("Marvaze", 640, 480, error);
    if (window == nullptr) {
        Report("the window cannot be opened: " + error);
        return -1;
    }
    host = window.get();

    std::unique_ptr<Device> created = window->CreateDevice(error);
    if (created == nullptr) {
        // The player may read no Japanese, or have no font for it: the reason in English too.
        Report(error, "Direct3D の初期化に失敗しました \n" + error, "D3初期化ｴﾗｰ ");
        host = nullptr;
        return -1;
    }
    device = created.get();

    // As F11 would, once the device is made: its back buffer follows the window either way.
    if (options.fullscreen) window->GoFullscreen();

    InitRenderStates();
    InitLights();
    // A demo being timed runs silent: it measures the drawing.
    const bool sound = options.demo != DemoMode::Time;
    SetSoundMuted(options.mute);
    if (sound) {
        window->OpenAudio();
        StartGameSound();
    }

    RunSessionCycle();
    StopGameSound();
    device = nullptr;
    host = nullptr;
    return FinishDemo();
}
