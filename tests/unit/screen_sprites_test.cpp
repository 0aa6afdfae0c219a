// Screen images: each code its own image, placed unscaled by its centre, and the digits of a
// number. Where the menu and the game put them is checked in real frames by the device tests; the
// retry of an image that failed, in the quad tests.
#include "app/screen_sprites.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "platform/core/recording_device.h"
#include "tests/unit/render_test_files.h"

namespace {

struct Placed {
    std::string image;
    float x, y;  // the transform's translation
    float centreX, centreY;
    uint32_t width, height;
};

class ScreenSpriteTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    RecordingDevice recorder;

    void SetUp() override {
        device = &recorder;
        // Odd widths and heights, all different: the centre falls on half pixels.
        int i = 0;
        for (const std::string& file : GameImageFiles()) {
            WritePng(file, 21 + 2 * i, 9 + i, 0xFFFFFFFF);
            ++i;
        }
    }
    void TearDown() override { device = nullptr; }

    // Every sprite drawn since the last look, checking that each is its own batch, placed by a
    // plain translation.
    std::vector<Placed> Drawn() {
        std::vector<Placed> placed;
        const auto& calls = recorder.calls;
        for (size_t i = 2; i < calls.size(); ++i) {
            if (calls[i].op != "Sprite.Draw") continue;
            EXPECT_EQ(calls[i - 2].op + calls[i - 1].op + calls.at(i + 1).op,
                      "Sprite.SetTransformSprite.BeginSprite.End");
            EXPECT_EQ(calls[i].ints, std::vector<uint32_t>{0xFFFFFFFF});
            const Matrix& m = calls[i - 2].matrix;
            EXPECT_EQ(m, D3DXMatrixTranslation(m[3][0], m[3][1], 0));
            const Texture& image = *calls[i].texture;
            placed.push_back({image.path, m[3][0], m[3][1], calls[i].floats.at(0),
                              calls[i].floats.at(1), image.width, image.height});
        }
        recorder.calls.clear();
        return placed;
    }
};

TEST_F(ScreenSpriteTest, EachCodeDrawsItsOwnImageCentredUnscaledOnThePoint) {
    std::vector<int32_t> codes = {Title, GameStart, GameOver, GameSelect, Life, Range};
    for (int digit = 0; digit < 10; ++digit) codes.push_back(Digit0 + digit);
    for (int32_t code : codes) DrawScreenSprite(code, 120.0f, 170.5f);
    std::set<std::string> images;
    for (const Placed& p : Drawn()) {
        EXPECT_EQ(std::tuple(p.x, p.y), std::tuple(120.0f, 170.5f));
        EXPECT_EQ(std::tuple(p.centreX, p.centreY), std::tuple(p.width * 0.5f, p.height * 0.5f));
        images.insert(p.image);
    }
    EXPECT_EQ(images.size(), 16u);
    DrawScreenSprite(Title, 0, 0);
    const std::string title = Drawn().at(0).image;
    for (int32_t code : {6, 199, 210, -1}) {  // unknown codes draw the title
        DrawScreenSprite(code, 0, 0);
        EXPECT_EQ(Drawn().at(0).image, title) << code;
    }
}

TEST_F(ScreenSpriteTest, NumbersAreDrawnDigitByDigitFromTheLeft) {
    const std::pair<int32_t, std::string> cases[] = {{0, "0"}, {3, "3"}, {105, "105"}, {-3, ""}};
    for (const auto& [n, digits] : cases) {
        SCOPED_TRACE(n);
        DrawNumber(n);
        std::vector<Placed> placed = Drawn();
        ASSERT_EQ(placed.size(), digits.size());
        for (size_t i = 0; i < digits.size(); ++i)
            EXPECT_EQ(
                std::tuple(placed[i].image, placed[i].x, placed[i].y),
                std::tuple("data/" + digits.substr(i, 1) + ".png", 170.0f + 50.0f * i, 440.0f));
    }
}

}  // namespace
