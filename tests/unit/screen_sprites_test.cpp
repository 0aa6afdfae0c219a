// Screen images: their slots and loading, placement by their centres and the digits of a number.
// Where the menu and the game put them is checked in real frames by the OpenGL tests.
#include "app/screen_sprites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "platform/core/recording_device.h"
#include "tests/unit/render_test_files.h"

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

    // Every sprite drawn, checking that each is its own batch, placed by a plain translation.
    std::vector<Placed> Drawn() const {
        std::vector<Placed> placed;
        const auto& calls = recorder.calls;
        for (size_t i = 2; i < calls.size(); ++i) {
            if (calls[i].op != "Sprite.Draw") continue;
            EXPECT_EQ(calls[i - 2].op + calls[i - 1].op + calls.at(i + 1).op,
                      "Sprite.SetTransformSprite.BeginSprite.End");
            EXPECT_EQ(calls[i - 1].ints, std::vector<uint32_t>{0});
            EXPECT_EQ(calls[i].ints, std::vector<uint32_t>{0xFFFFFFFF});
            const Matrix& m = calls[i - 2].matrix;
            EXPECT_EQ(m, D3DXMatrixTranslation(m[3][0], m[3][1], 0));
            EXPECT_EQ(calls[i].floats.at(2), 0.0f);
            placed.push_back(
                {calls[i].texture->path, m[3][0], m[3][1], calls[i].floats[0], calls[i].floats[1]});
        }
        return placed;
    }
    static void ExpectPlaced(const std::vector<Placed>& placed,
                             const std::vector<std::tuple<std::string, float, float>>& expected) {
        ASSERT_EQ(placed.size(), expected.size());
        for (size_t i = 0; i < placed.size(); ++i)
            EXPECT_EQ(std::tuple(placed[i].image, placed[i].x, placed[i].y), expected[i]) << i;
    }
};

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
    const std::pair<int32_t, std::string> cases[] = {{0, "0"}, {3, "3"}, {105, "105"}, {-3, ""}};
    for (const auto& [n, digits] : cases) {
        SCOPED_TRACE(n);
        recorder.calls.clear();
        DrawNumber(n);
        std::vector<std::tuple<std::string, float, float>> expected;
        for (size_t i = 0; i < digits.size(); ++i)
            expected.emplace_back("data/" + digits.substr(i, 1) + ".png", 170.0f + 50.0f * i,
                                  440.0f);
        ExpectPlaced(Drawn(), expected);
    }
}

TEST_F(ScreenSpriteTest, ImagesLoadOnceButOneThatFailedIsSkippedAndTriedAgain) {
    std::filesystem::remove("data/gamestart.png");
    DrawScreenSprite(GameStart, 120, 120);
    DrawScreenSprite(Title, 320, 50);
    ExpectPlaced(Drawn(), {{"data/title.png", 320, 50}});
    auto loads = [&](const char* path) {
        return std::count(recorder.textureLoads.begin(), recorder.textureLoads.end(), path);
    };
    EXPECT_EQ(loads("data/gamestart.png"), 2);
    EXPECT_EQ(loads("data/title.png"), 1);

    WritePng("data/gamestart.png", 40, 20, 0xFFFF00FF);
    ForgetFailedImages();  // picked up within a second; the test does not wait for it
    recorder.calls.clear();
    DrawScreenSprite(GameStart, 120, 120);
    ExpectPlaced(Drawn(), {{"data/gamestart.png", 120, 120}});
    EXPECT_EQ(Drawn().at(0).centreX, 20.0f);
}

}  // namespace
