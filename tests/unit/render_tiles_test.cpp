// DrawSurfaceTiles: the 30 x 40 grid snapped around the player, ground up to z 40000, sea beyond.
#include <gtest/gtest.h>

#include <limits>

#include "platform/core/recording_device.h"
#include "render/camera.h"
#include "render/quads.h"
#include "render/tiles.h"
#include "tests/unit/render_test_files.h"

namespace {

struct Tile {
    float x, y, z;
    std::string image;
};

class TileTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    RecordingDevice recorder;

    void SetUp() override {
        device = &recorder;
        WritePng("data/sea.png", 2, 2, 0x0000FFFF);
        WritePng("data/gro.png", 2, 2, 0x00FF00FF);
        cameraEye = {3000, 500, 200};
        // Only the tile positions and images matter here.
        recorder.keep = [](std::string_view op) {
            return op == "SetTransform" || op == "SetTexture";
        };
    }
    void TearDown() override { device = nullptr; }

    // The tiles drawn, one per quad, in drawing order.
    std::vector<Tile> Draw(float x, float z) {
        recorder.calls.clear();
        GameObject player;
        player.x = x;
        player.y = 700;
        player.z = z;
        DrawSurfaceTiles(player);
        std::vector<Tile> tiles;
        const auto& calls = recorder.calls;
        for (size_t i = 0; i + 3 < calls.size(); i += 4) {  // two triangles a quad
            const glm::vec4& at = calls[i].matrix[3];
            Texture* image = calls[i + 1].texture;
            tiles.push_back({at.x, at.y, at.z, image != nullptr ? image->path : ""});
        }
        return tiles;
    }
};

TEST_F(TileTest, ThirtyRowsOfFortyTilesFarToNearSnappedToThousandsBelowThePlayer) {
    struct Case {
        float x, z;
        float firstX, firstZ;
    };
    const Case cases[] = {
        {0, 1000, -26000, -20000},       // 1000 snaps to 0, as 1 does
        {0, 1000.5f, -26000, -19000},    //
        {0, 0, -26000, -21000},          // at or below 0: one more step down
        {-400, 1, -27000, -20000},       //
        {2500, 123456, -23000, 103000},  //
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.z);
        std::vector<Tile> tiles = Draw(c.x, c.z);
        ASSERT_EQ(tiles.size(), 1200u);
        EXPECT_EQ(recorder.calls.size(), 4800u);  // two triangles a tile
        for (size_t i = 0; i < tiles.size(); ++i) {
            EXPECT_EQ(tiles[i].x, c.firstX + 1000.0f * float(i / 40)) << i;
            EXPECT_EQ(tiles[i].z, c.firstZ + 1000.0f * float(i % 40)) << i;
            EXPECT_EQ(tiles[i].y, -300.0f) << i;  // whatever the player's height
        }
    }
}

TEST_F(TileTest, GroundUpToFortyThousandAndSeaBeyond) {
    std::vector<Tile> tiles = Draw(0, 30000);  // columns from 9000 to 48000
    for (const Tile& t : tiles)
        EXPECT_EQ(t.image, t.z <= 40000 ? "data/gro.png" : "data/sea.png") << t.z;
    EXPECT_EQ(tiles[31].z, 40000.0f);
    EXPECT_EQ(tiles[31].image, "data/gro.png");
    EXPECT_EQ(tiles[32].z, 41000.0f);
    EXPECT_EQ(tiles[32].image, "data/sea.png");
}

TEST_F(TileTest, PositionsBeyondFloatStepsStillEndAndNonFiniteOnesDrawNothing) {
    // Stepping by 1000 no longer changes a float this large; the grid must still end.
    EXPECT_EQ(Draw(0, 1e12f).size(), 1200u);
    EXPECT_EQ(Draw(-3e30f, 0).size(), 1200u);
    EXPECT_TRUE(Draw(std::numeric_limits<float>::infinity(), 0).empty());
    EXPECT_TRUE(Draw(0, std::numeric_limits<float>::quiet_NaN()).empty());
}

}  // namespace
