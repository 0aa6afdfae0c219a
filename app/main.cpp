// Start-up: one instance, the window, the device, the fixed render states, the sound device,
// then sessions until the menu is left or the window is closed.
#include <cstdio>
#include <cstdlib>

#include "app/session_cycle.h"
#include "app/screen_sprites.h"
#include "platform/core/image_file.h"
#include "platform/device.h"
#include "platform/host.h"
#include "platform/sdl/data_folder.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/single_instance.h"
#include "render/render_states.h"

int main(int, char**) {
    if (!ClaimSingleInstance()) return -1;
    EnterDataFolder();
    // Decoded while the window and the GL context are made, which take far longer.
    PrefetchImages(GameImageFiles());

    std::unique_ptr<SdlHost> window = SdlHost::Create("Marvaze", 640, 480);
    if (window == nullptr) {
        std::fprintf(stderr, "marvaze: the window cannot be opened\n");
        return -1;
    }
    host = window.get();

    std::string error;
    std::unique_ptr<Device> created = window->CreateDevice(error);
    if (created == nullptr) {
        // The player may read no Japanese, or have no font for it: one line in English too.
        std::string english = "OpenGL 3.3 could not be started: " + error;
        std::fprintf(stderr, "marvaze: %s\n", english.c_str());
        window->ShowMessageBox("Direct3D の初期化に失敗しました \n" + english, "D3初期化ｴﾗｰ ");
        std::exit(-1);
    }
    device = created.get();

    InitRenderStates();
    InitLights();
    window->OpenAudio();

    RunSessionCycle();
    return 0;
}
