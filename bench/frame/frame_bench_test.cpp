// The frame benchmark's own checks: a captured frame survives its file, and the three ways of
// drawing it (the game's path, call for call, the floor) give the same pixels, so that their
// times compare like with like.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>

#include "bench/frame/captured_frame.h"
#include "bench/frame/floor_frame.h"
#include "bench/frame/replay.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_device_testing.h"
#include "platform/sdl/sdl_host.h"
#include "tests/gl/gl_test_window.h"

using namespace dev;

namespace {

// An early menu frame: sky, ground tiles, the first aircraft, the menu's images.
const CapturedFrame& EarlyFrame() {
    static const CapturedFrame frame = [] {
        CaptureOptions options;
        options.highPhaseOnly = false;
        options.frameLimit = 30;
        return CaptureHeaviestFrame(options);
    }();
    return frame;
}

bool SameCall(const DeviceCall& a, const DeviceCall& b) {
    auto path = [](const Texture* t) { return t != nullptr ? t->path : std::string("-"); };
    return a.op == b.op && a.ints == b.ints && a.floats == b.floats && a.matrix == b.matrix &&
           path(a.texture) == path(b.texture) && a.data == b.data &&
           std::memcmp(&a.light, &b.light, sizeof a.light) == 0 &&
           std::memcmp(&a.material, &b.material, sizeof a.material) == 0;
}

TEST(CapturedFrameTest, TheHeaviestEarlyFrameIsWholeAndSurvivesItsFile) {
    const CapturedFrame& frame = EarlyFrame();
    ASSERT_FALSE(frame.calls.empty());
    EXPECT_EQ(frame.calls.front().op, "Clear");
    EXPECT_EQ(frame.calls.back().op, "Present");
    EXPECT_GT(frame.frameNumber, 1);
    EXPECT_LT(frame.frameNumber, 30);
    // The ground (1200 tiles of two triangles), the sky and the menu's four images at least.
    EXPECT_GT(DrawCallsIn(frame.calls), 2400 + 1 + 4);
    bool lightsSet = false;
    for (const DeviceCall& call : frame.settings) lightsSet = lightsSet || call.op == "SetLight";
    EXPECT_TRUE(lightsSet);

    std::string path = ::testing::TempDir() + "/captured_frame_test.bin";
    ASSERT_TRUE(SaveFrame(frame, path));
    CapturedFrame loaded;
    ASSERT_TRUE(LoadFrame(path, loaded));
    EXPECT_EQ(loaded.frameNumber, frame.frameNumber);
    ASSERT_EQ(loaded.settings.size(), frame.settings.size());
    ASSERT_EQ(loaded.calls.size(), frame.calls.size());
    for (size_t i = 0; i < frame.settings.size(); ++i)
        EXPECT_TRUE(SameCall(loaded.settings[i], frame.settings[i])) << frame.settings[i].op;
    size_t differing = 0;
    for (size_t i = 0; i < frame.calls.size(); ++i)
        differing += !SameCall(loaded.calls[i], frame.calls[i]);
    EXPECT_EQ(differing, 0u);

    // A cut file is refused rather than half read.
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    ASSERT_NE(file, nullptr);
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fclose(file);
    ASSERT_EQ(truncate(path.c_str(), size / 2), 0);
    CapturedFrame cut;
    EXPECT_FALSE(LoadFrame(path, cut));
    std::remove(path.c_str());
}

// The GL tests' window and device.
class FrameWaysTest : public GLTest {};

TEST_F(FrameWaysTest, GamePathCallForCallAndFloorDrawTheSamePixels) {
    const CapturedFrame& frame = EarlyFrame();
    Replay replay;
    FloorFrame floor;
    std::string error;
    ASSERT_TRUE(PrepareReplay(*gl, frame, replay, error)) << error;
    ASSERT_TRUE(BuildFloor(frame, floor, error)) << error;

    int before = GLDrawCount(*gl);
    ReplayFrame(replay);
    int gameDraws = GLDrawCount(*gl) - before;
    Image game = ReadBackBuffer(*gl);

    SetGLBatching(*gl, false);
    before = GLDrawCount(*gl);
    ReplayFrame(replay);
    int naiveDraws = GLDrawCount(*gl) - before;
    Image naive = ReadBackBuffer(*gl);
    SetGLBatching(*gl, true);

    DrawFloor(*gl, *replay.clear, floor);
    Image floorPicture = ReadBackBuffer(*gl);
    DestroyFloor(floor);
    // The floor draws with GL directly, behind the device's back: the game's path still draws
    // the same after it.
    ReplayFrame(replay);
    Image gameAgain = ReadBackBuffer(*gl);

    // Call for call is one GL draw per streamed draw the game made (GLDrawCount leaves out the
    // sky's own draws); joined, the tiles alone share one.
    int skyDraws = 0;
    for (const DeviceCall& call : frame.calls) skyDraws += call.op == "Mesh.DrawSubset";
    EXPECT_EQ(naiveDraws, DrawCallsIn(frame.calls) - skyDraws);
    EXPECT_LT(gameDraws, naiveDraws / 20);
    ASSERT_EQ(game.rgba.size(), size_t(640 * 480 * 4));
    EXPECT_TRUE(game.rgba == naive.rgba);
    EXPECT_TRUE(game.rgba == floorPicture.rgba);
    EXPECT_TRUE(game.rgba == gameAgain.rgba);
    // And the picture is not empty: the sky's colours differ from the ground's.
    EXPECT_NE(std::memcmp(&game.rgba[(10 * 640 + 600) * 4], &game.rgba[(470 * 640 + 600) * 4], 3),
              0);

    EmptyFrame(replay);
    Image empty = ReadBackBuffer(*gl);
    EXPECT_FALSE(empty.rgba == game.rgba);
}

TEST_F(FrameWaysTest, FloorRefusesStatesItCannotDrawTheSame) {
    CapturedFrame changed;
    const CapturedFrame& frame = EarlyFrame();
    for (const auto& texture : frame.textures)
        changed.textures.push_back(std::make_unique<Texture>(*texture));
    auto copy = [&](const std::vector<DeviceCall>& from, std::vector<DeviceCall>& to) {
        for (DeviceCall call : from) {
            for (size_t i = 0; i < frame.textures.size(); ++i)
                if (call.texture == frame.textures[i].get())
                    call.texture = changed.textures[i].get();
            to.push_back(std::move(call));
        }
    };
    copy(frame.settings, changed.settings);
    copy(frame.calls, changed.calls);
    for (DeviceCall& call : changed.settings)
        if (call.op == "SetRenderState" && call.ints[0] == D3DRS_ALPHABLENDENABLE) call.ints[1] = 0;
    FloorFrame floor;
    std::string error;
    EXPECT_FALSE(BuildFloor(changed, floor, error));
    EXPECT_NE(error.find("blending"), std::string::npos) << error;
}

// The device joins draws only while nothing they depend on has changed: a new texture alone,
// or a new setting alone, between two draws must start a new GL draw.
TEST_F(FrameWaysTest, JoinedDrawsSplitWhereTheTextureOrASettingChanges) {
    struct Vertex {
        float x, y, z;
        uint32_t diffuse;
        float u, v;
    };
    Texture* sea = gl->CreateTextureFromFile("data/sea.png");
    Texture* ground = gl->CreateTextureFromFile("data/gro.png");
    ASSERT_NE(sea, nullptr);
    ASSERT_NE(ground, nullptr);
    gl->SetRenderState(D3DRS_LIGHTING, FALSE);
    gl->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    gl->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    // A triangle over the left or right half of the picture, all of it one texel's colour.
    auto half = [](float left) {
        std::vector<Vertex> t = {
            {left, -1, 0.5f, ~0u, 0.5f, 0.5f},    {left, 1, 0.5f, ~0u, 0.5f, 0.5f},
            {left + 1, 1, 0.5f, ~0u, 0.5f, 0.5f}, {left, -1, 0.5f, ~0u, 0.5f, 0.5f},
            {left + 1, 1, 0.5f, ~0u, 0.5f, 0.5f}, {left + 1, -1, 0.5f, ~0u, 0.5f, 0.5f}};
        return t;
    };
    auto draw = [&](Texture* texture, float left) {
        gl->SetTexture(0, texture);
        std::vector<Vertex> t = half(left);
        gl->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, t.data(), sizeof(Vertex));
    };
    auto texel = [](const char* path) {
        std::optional<Image> image = LoadImageFile(path);
        const uint8_t* p =
            &image->rgba[(size_t(image->height / 2) * image->width + image->width / 2) * 4];
        return std::vector<uint8_t>(p, p + 3);
    };
    auto pixel = [](const Image& image, int x) {
        const uint8_t* p = &image.rgba[(size_t(240) * image.width + x) * 4];
        return std::vector<uint8_t>(p, p + 3);
    };
    ASSERT_NE(texel("data/sea.png"), texel("data/gro.png"));

    gl->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    int before = GLDrawCount(*gl);
    draw(sea, -1);
    draw(sea, 0);
    Image same = ReadBackBuffer(*gl);
    EXPECT_EQ(GLDrawCount(*gl) - before, 1);

    before = GLDrawCount(*gl);
    draw(sea, -1);
    draw(ground, 0);
    Image changed = ReadBackBuffer(*gl);
    EXPECT_EQ(GLDrawCount(*gl) - before, 2);
    EXPECT_EQ(pixel(same, 480), texel("data/sea.png"));
    EXPECT_EQ(pixel(changed, 160), texel("data/sea.png"));
    EXPECT_EQ(pixel(changed, 480), texel("data/gro.png"));

    before = GLDrawCount(*gl);
    draw(ground, -1);
    gl->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    draw(ground, 0);
    ReadBackBuffer(*gl);
    EXPECT_EQ(GLDrawCount(*gl) - before, 2);
}

}  // namespace
