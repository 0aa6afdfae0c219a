// Screen images: their slots and loading, placement by their centres, the digits of a number,
// and the menu and game layouts as a real frame draws them.
#include "app/screen_sprites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/session.h"
#include "platform/core/headless_host.h"
#include "platform/core/recording_device.h"
#include "tests/unit/render_test_files.h"
#include "world/object_list.h"

namespace {

const char* const Files[] = {
    "data/title.png", "data/gamestart.png", "data/gameover.png", "data/gameselect.png",
    "data/life.png",  "data/range.png",     "data/0.png",        "data/1.png",
    "data/2.png",     "data/3.png",         "data/4.png",        "data/5.png",
    "data/6.png",     "data/7.png",         "data/8.png",        "data/9.png",
};

struct Placed {
    std::string image;
    float x, y;  // the transform's translation
    float centreX, centreY;
};

class ScreenSpriteTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    RecordingDevice recorder;

    void SetUp() override {
        device = &recorder;
        // Odd widths and heights, all different: the centre falls on half pixels.
        for (int i = 0; i < 16; ++i) WritePng(Files[i], 21 + 2 * i, 9 + i, 0xFFFFFFFF);
    }
    void TearDown() override { device = nullptr; }

    // Every sprite drawn, checking that each is its own batch with the identity rotation.
    std::vector<Placed> Drawn() const {
        std::vector<Placed> placed;
        const auto& calls = recorder.calls;
        for (size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].op != "Sprite.Draw") continue;
            EXPECT_GE(i, 2u);
            EXPECT_EQ(calls[i - 2].op, "Sprite.SetTransform");
            EXPECT_EQ(calls[i - 1].op, "Sprite.Begin");
            EXPECT_EQ(calls[i - 1].ints, std::vector<uint32_t>{0});
            EXPECT_EQ(calls.at(i + 1).op, "Sprite.End");
            EXPECT_EQ(calls[i].ints, std::vector<uint32_t>{0xFFFFFFFF});
            const Matrix& m = calls[i - 2].matrix;
            Matrix rotation = m;
            rotation[3] = glm::vec4(0, 0, 0, 1);
            EXPECT_EQ(rotation, Matrix(1.0f));
            EXPECT_EQ(m[3][2], 0.0f);
            EXPECT_EQ(calls[i].floats.at(2), 0.0f);
            placed.push_back(
                {calls[i].texture->path, m[3][0], m[3][1], calls[i].floats[0], calls[i].floats[1]});
        }
        return placed;
    }
};

TEST_F(ScreenSpriteTest, ImagesLoadInTableOrderOnceAndTheSpriteIsMadeOnce) {
    EnsureScreenImages();
    EnsureScreenImages();
    EXPECT_EQ(recorder.textureLoads, std::vector<std::string>(std::begin(Files), std::end(Files)));
    DrawScreenSprite(Title, 1, 1);
    EXPECT_EQ(recorder.textureLoads.size(), 16u);
}

TEST_F(ScreenSpriteTest, EachCodeDrawsItsImageCentredUnscaledOnThePoint) {
    const std::pair<int32_t, int> codes[] = {
        {Title, 0},  {GameStart, 1},   {GameOver, 2}, {GameSelect, 3}, {Life, 4}, {Range, 5},
        {Digit0, 6}, {Digit0 + 9, 15}, {6, 0},        {199, 0},        {210, 0},  {-1, 0},
    };
    for (auto [code, slot] : codes) {
        recorder.calls.clear();
        DrawScreenSprite(code, 120.0f, 170.5f);
        std::vector<Placed> placed = Drawn();
        ASSERT_EQ(placed.size(), 1u) << code;
        EXPECT_EQ(placed[0].image, Files[slot]) << code;
        EXPECT_EQ(placed[0].x, 120.0f);
        EXPECT_EQ(placed[0].y, 170.5f);
        EXPECT_EQ(placed[0].centreX, (21 + 2 * slot) * 0.5f) << code;  // e.g. 10.5
        EXPECT_EQ(placed[0].centreY, (9 + slot) * 0.5f) << code;
    }
}

TEST_F(ScreenSpriteTest, NumbersAreDrawnDigitByDigitFromTheLeft) {
    struct Case {
        int32_t n;
        std::vector<std::string> digits;
    };
    const Case cases[] = {
        {0, {"data/0.png"}},
        {3, {"data/3.png"}},
        {105, {"data/1.png", "data/0.png", "data/5.png"}},
        {-3, {}},
    };
    for (const Case& c : cases) {
        recorder.calls.clear();
        DrawNumber(c.n);
        std::vector<Placed> placed = Drawn();
        ASSERT_EQ(placed.size(), c.digits.size()) << c.n;
        for (size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(placed[i].image, c.digits[i]) << c.n;
            EXPECT_EQ(placed[i].x, 170.0f + 50.0f * i) << c.n;
            EXPECT_EQ(placed[i].y, 440.0f) << c.n;
        }
    }
}

TEST_F(ScreenSpriteTest, AnImageThatFailedToLoadIsSkippedAndTriedAgain) {
    std::filesystem::remove("data/gamestart.png");
    DrawScreenSprite(GameStart, 120, 120);
    DrawScreenSprite(Title, 320, 50);
    std::vector<Placed> placed = Drawn();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].image, "data/title.png");
    EXPECT_EQ(std::count(recorder.textureLoads.begin(), recorder.textureLoads.end(),
                         "data/gamestart.png"),
              2);

    WritePng("data/gamestart.png", 40, 20, 0xFFFF00FF);
    recorder.calls.clear();
    DrawScreenSprite(GameStart, 120, 120);
    placed = Drawn();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].image, "data/gamestart.png");
    EXPECT_EQ(placed[0].centreX, 20.0f);
}

TEST_F(ScreenSpriteTest, MenuAndGameFramesPlaceTheirImages) {
    // Only the sprite calls are kept: a frame also draws some 12000 world calls.
    recorder.keep = [](std::string_view op) { return op.substr(0, 7) == "Sprite."; };
    menuLatches = MenuLatches{};
    menuLatches.cursorOffset = 25;
    HeadlessHost headless;
    headless.closeAtFrame = 2;
    world = World{};
    world.inGame = 0;
    EXPECT_EQ(RunSession(), Closed);
    DestroyWorldObjects();
    std::vector<Placed> menu = Drawn();
    ASSERT_EQ(menu.size(), 4u);
    const Placed expectedMenu[] = {{"data/title.png", 320, 50, 0, 0},
                                   {"data/gamestart.png", 120, 120, 0, 0},
                                   {"data/gameover.png", 120, 170, 0, 0},
                                   {"data/gameselect.png", 120, 140, 0, 0}};  // slid up by 5
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menu[i].image, expectedMenu[i].image);
        EXPECT_EQ(menu[i].x, expectedMenu[i].x);
        EXPECT_EQ(menu[i].y, expectedMenu[i].y);
    }

    recorder.calls.clear();
    headless.closeAtFrame = headless.frame + 2;
    world.inGame = 1;
    EXPECT_EQ(RunSession(), Closed);
    DestroyWorldObjects();
    world = World{};
    menuLatches = MenuLatches{};
    std::vector<Placed> game = Drawn();
    ASSERT_EQ(game.size(), 2u);
    EXPECT_EQ(game[0].image, "data/life.png");
    EXPECT_EQ(game[0].x, 80.0f);
    EXPECT_EQ(game[0].y, 440.0f);
    EXPECT_EQ(game[1].image, "data/3.png");
    EXPECT_EQ(game[1].x, 170.0f);
    EXPECT_EQ(game[1].y, 440.0f);
}

}  // namespace
