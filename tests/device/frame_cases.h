// Frames of the real program, checked from the back buffer's pixels on both rings' devices: the
// sky above, ground tiles below (sea beyond z 40000) and the aircraft; the menu and game images
// at their places are the window and Wine tests'. The art is made here, in plain colours, so each
// thing can be told apart. A ring instantiates FrameCases with its test base `Ring`: a
// ::testing::Test whose SetUp installs a fresh device, with static KeepFrames(), called before
// the first frame, and LastFrame(), the back buffer of the last frame presented.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "app/screen_sprites.h"
#include "app/session.h"
#include "platform/core/headless_host.h"
#include "render/render_states.h"
#include "tests/device/pixels.h"
#include "tests/unit/render_test_files.h"
#include "world/object_list.h"

namespace {

const Rgb Sky{100, 150, 250}, Ground{40, 160, 40}, Sea{30, 60, 200}, Player{250, 30, 30};

inline uint32_t Opaque(Rgb c) {
    return uint32_t(c.r) << 24 | uint32_t(c.g) << 16 | uint32_t(c.b) << 8 | 255;
}

// A box 34000 across around the eye (inside the far plane), lit only by its emissive white so
// that it shows its texture as it is.
const char* const SkyBox = R"(xof 0303txt 0032
Mesh Sky {
 8;
 -17000.0;-17000.0;-17000.0;, 17000.0;-17000.0;-17000.0;, 17000.0;17000.0;-17000.0;,
 -17000.0;17000.0;-17000.0;, -17000.0;-17000.0;17000.0;, 17000.0;-17000.0;17000.0;,
 17000.0;17000.0;17000.0;, -17000.0;17000.0;17000.0;;
 6;
 4;0,1,2,3;, 4;4,7,6,5;, 4;0,4,5,1;, 4;3,2,6,7;, 4;0,3,7,4;, 4;1,5,6,2;;
 MeshMaterialList { 1; 6; 0,0,0,0,0,0;;
  Material { 0.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 1.0;1.0;1.0;; TextureFilename { "sky.png"; } }
 }
}
)";

// Pixels of `colour` in [x0, x1) x [y0, y1).
inline int Count(const Image& image, Rgb colour, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += PixelAt(image, x, y) == colour;
    return n;
}

template <class Ring>
class FrameCases : public Ring {
  protected:
    ScratchFolder folder;

    void SetUp() override {
        Ring::SetUp();
        if (::testing::Test::HasFatalFailure()) return;
        WriteText("data/sky.x", SkyBox);
        for (const std::string& image : GameImageFiles()) WritePng(image, 8, 4, 0x404040FF);
        WritePng("data/sky.png", 4, 4, Opaque(Sky));
        WritePng("data/gro.png", 16, 8, Opaque(Ground));
        WritePng("data/sea.png", 16, 8, Opaque(Sea));
        WritePng("data/taku_raiden21.png", 8, 4, Opaque(Player));
        Ring::KeepFrames();
        InitRenderStates();
        InitLights();
        menuLatches = MenuLatches{};
        world = World{};
    }
    void TearDown() override {
        menuLatches = MenuLatches{};
        world = World{};
        Ring::TearDown();
    }

    // Runs `frames` frames of a session and returns the last one drawn. `adjust` may move the
    // player before each frame.
    Image Run(int inGame, int frames, std::function<void(GameObject&)> adjust = nullptr) {
        HeadlessHost headless;
        Image last;
        headless.closeAtFrame = frames + 1;
        headless.onFrame = [&](int frame) {
            if (frame > 1) last = Ring::LastFrame();  // the frame before, complete
            if (adjust && world.head != nullptr) adjust(*world.head);
        };
        world.inGame = inGame;
        EXPECT_EQ(RunSession(), Closed);
        DestroyWorldObjects();
        EXPECT_TRUE(headless.messageBoxes.empty());
        return last;
    }
};

TYPED_TEST_SUITE_P(FrameCases);

TYPED_TEST_P(FrameCases, SkyGroundSeaAndTheAircraftShowInTheirPlaces) {
    // The menu, three frames in: the demonstration flies at its start, over ground.
    Image menu = this->Run(0, 3);
    ASSERT_EQ(menu.width, 640);
    // Sky in the upper part, where no image covers it.
    for (auto [x, y] : {std::pair{600, 10}, {450, 150}, {10, 220}})
        EXPECT_EQ(PixelAt(menu, x, y), Sky) << x << "," << y;
    // Ground tiles fill the lower part.
    EXPECT_GT(Count(menu, Ground, 0, 300, 640, 480), 640 * 180 * 95 / 100);
    EXPECT_EQ(Count(menu, Sea, 0, 0, 640, 480), 0);
    // The player's aircraft near the middle: the camera looks 200 ahead of where it was, and
    // the aircraft is drawn after this frame's move of about 300.
    int player = Count(menu, Player, 240, 200, 400, 280);
    EXPECT_GT(player, 20);
    EXPECT_EQ(player, Count(menu, Player, 0, 0, 640, 480));

    // Far along the course the tiles below are sea.
    Image far = this->Run(0, 3, [](GameObject& p) { p.z = 80000.0f; });
    EXPECT_GT(Count(far, Sea, 0, 300, 640, 480), 640 * 180 * 95 / 100);
    EXPECT_EQ(Count(far, Ground, 0, 0, 640, 480), 0);
    EXPECT_EQ(PixelAt(far, 600, 10), Sky);
}

REGISTER_TYPED_TEST_SUITE_P(FrameCases, SkyGroundSeaAndTheAircraftShowInTheirPlaces);

}  // namespace
