// Start-up, the same on every platform: one instance, the data folder, the window, the device,
// the fixed render states, the sound device, then sessions until the menu is left or the window
// is closed. Each platform ring supplies the window and the few functions of platform/ring.h.
#include <memory>
#include <string>

#include "app/session_cycle.h"
#include "platform/core/data_folder.h"
#include "platform/core/image_file.h"
#include "platform/report.h"
#include "platform/ring.h"
#include "render/render_states.h"

int main(int, char**) {
    if (!ClaimSingleInstance()) return -1;
    EnterDataFolder();
    // Decoded while the window and the device are made, which take far longer.
    PrefetchImages("data");

    std::string error;
    std::unique_ptr<GameWindow> window = OpenGameWindow("Marvaze", 640, 480, error);
    if (window == nullptr) {
        Report("the window cannot be opened: " + error);
        return -1;
    }
    InstallHost(window.get(), window->Keys());

    std::unique_ptr<Device> created = window->CreateDevice(error);
    if (created == nullptr) {
        Report(error, "Direct3D の初期化に失敗しました ", "D3初期化ｴﾗｰ ");
        InstallHost(nullptr, nullptr);
        return -1;
    }
    device = created.get();

    InitRenderStates();
    InitLights();
    window->OpenAudio();

    RunSessionCycle();
    device = nullptr;
    InstallHost(nullptr, nullptr);
    return 0;
}
