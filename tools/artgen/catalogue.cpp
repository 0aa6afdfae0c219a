#include "art.h"

std::vector<ArtFile> all_art(const Fonts& fonts) {
    std::vector<ArtFile> files = {
        {"team0.png", draw_tracer(), {}},
        {"rai21_fukahire.png", draw_raiden(false), {}},
        {"taku_raiden21.png", draw_raiden(true), {}},
        {"SBD-5.png", draw_dauntless(), {}},
        {"f4u-1d.png", draw_corsair(), {}},
        {"p51h.png", draw_mustang(), {}},
        {"b29.png", draw_superfortress(), {}},
        {"bo0.png", draw_explosion(0), {}},
        {"bo1.png", draw_explosion(1), {}},
        {"bo2.png", draw_explosion(2), {}},
        {"sea.png", draw_sea(), {}},
        {"gro.png", draw_ground(), {}},
        {"Fletcher_1942.png", draw_destroyer(), {}},
        {"title.png", draw_title(fonts), {}},
        {"gamestart.png", draw_entry(fonts, "GAME START"), {}},
        {"gameover.png", draw_entry(fonts, "EXIT"), {}},
        {"gameselect.png", draw_cursor(), {}},
        {"life.png", draw_life(), {}},
        {"range.png", draw_reticle(), {}},
        {"sky.png", draw_sky(), {}},
        {"sky.x", {}, sky_mesh_text()},
        {"marvaze.ico", {}, draw_windows_icon()},
    };
    for (int d = 0; d <= 9; ++d)
        files.push_back({std::to_string(d) + ".png", draw_digit(fonts, d), {}});
    // Not read by the game: the desktop's icon, at the sizes of the hicolor theme that menus,
    // docks and software centres ask for. icons/N.png is N pixels square.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        files.push_back({"icons/" + std::to_string(size) + ".png", draw_badge(size), {}});
    return files;
}
