// The device cases both rings run: the fixed-function look the game relies on, read back from
// a real device: alpha test and blending, depth, no culling, texture orientation and point
// sampling, lighting of the sky, the screen sprite on exact pixels with the states it changes
// put back. A ring instantiates DeviceCases with its test base `Ring`: a ::testing::Test whose
// SetUp installs a fresh device and whose static BackBuffer() reads that device's back buffer
// as it stands, top row first.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/core/headless_host.h"
#include "platform/device.h"
#include "render/camera.h"
#include "render/quads.h"
#include "render/render_states.h"
#include "render/sky.h"
#include "tests/device/pixels.h"
#include "tests/unit/render_test_files.h"

using namespace dev;

namespace {

inline Texture* MakeTexture(const Picture& picture) {
    static int made = 0;
    std::string path = "data/made" + std::to_string(made++) + ".png";
    WritePicture(path, picture);
    return device->CreateTextureFromFile(path);
}

// A rectangle from (x0, y0) to (x1, y1) at depth z, as two triangles wound like the game's
// quads; with identity transforms the positions are clip space (y up, depth 0 to 1).
inline void Rectangle(float x0, float y0, float x1, float y1, float z, uint32_t argb,
                      float u = 1.0f, float v = 1.0f, bool flip = false) {
    QuadVertex a{x0, y1, z, 0, 0, 1, argb, 0, 0}, b{x0, y0, z, 0, 0, 1, argb, 0, v},
        c{x1, y1, z, 0, 0, 1, argb, u, 0}, d{x1, y0, z, 0, 0, 1, argb, u, v};
    QuadVertex triangles[2][3] = {{a, b, c}, {c, d, b}};
    if (flip) {
        std::swap(triangles[0][1], triangles[0][2]);
        std::swap(triangles[1][1], triangles[1][2]);
    }
    device->SetFVF(QuadFVF);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->BeginScene();
    for (auto& t : triangles) device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, t, sizeof(QuadVertex));
    device->EndScene();
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
}
inline void FullScreen(float z, uint32_t argb, float u = 1, float v = 1) {
    Rectangle(-1, -1, 1, 1, z, argb, u, v);
}
inline void Restart(uint32_t argb) {
    device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, argb, 1.0f, 0);
}
inline void ExpectPixels(const Image& image, std::initializer_list<std::tuple<int, int, Rgb>> at) {
    for (auto [x, y, colour] : at) EXPECT_EQ(PixelAt(image, x, y), colour) << x << "," << y;
}
inline void DrawSprite(Texture* texture, float x, float y, float cx, float cy) {
    Sprite* sprite = device->CreateSprite();
    sprite->SetTransform(D3DXMatrixTranslation(x, y, 0));
    device->BeginScene();
    sprite->Begin(0);
    sprite->Draw(texture, {cx, cy, 0}, 0xFFFFFFFF);
    sprite->End();
    device->EndScene();
}

template <class Ring>
class DeviceCases : public Ring {
  protected:
    ScratchFolder folder;

    void SetUp() override {
        Ring::SetUp();
        if (::testing::Test::HasFatalFailure()) return;
        InitRenderStates();
        InitLights();
        device->SetTransform(D3DTS_WORLD, Matrix(1.0f));
        device->SetTransform(D3DTS_VIEW, Matrix(1.0f));
        device->SetTransform(D3DTS_PROJECTION, Matrix(1.0f));
        Restart(0xFF0000FF);
    }
};

TYPED_TEST_SUITE_P(DeviceCases);

TYPED_TEST_P(DeviceCases, AlphaBelow128IsCutAndFromThereOnBlendsBySourceAlpha) {
    Picture picture(3, 1, 0xFF00007F);  // red, alpha 127
    picture.Set(1, 0, 0xFF000080);      // alpha 128
    picture.Set(2, 0, 0x00FF00FF);      // opaque green
    device->SetTexture(0, MakeTexture(picture));
    FullScreen(0.5f, 0xFFFFFFFF);
    Image image = TypeParam::BackBuffer();
    ASSERT_EQ(image.width, 640);
    ExpectPixels(image, {{100, 240, {0, 0, 255}}, {540, 240, {0, 255, 0}}});
    // 128/255 of red over 127/255 of the blue clear colour.
    EXPECT_TRUE(Near(PixelAt(image, 320, 240), Rgb{128, 0, 127})) << PixelAt(image, 320, 240);

    // The vertex alpha multiplies the texture's: opaque texels at half alpha are cut too.
    Restart(0xFF0000FF);
    FullScreen(0.5f, 0x7FFFFFFF);
    EXPECT_EQ(PixelAt(TypeParam::BackBuffer(), 540, 240), (Rgb{0, 0, 255}));

    // Without a texture (none set, or a file that is missing or not an image) the vertex
    // colour shows as it is.
    EXPECT_EQ(device->CreateTextureFromFile("data/absent.png"), nullptr);
    WriteText("data/broken.png", "not an image");
    EXPECT_EQ(device->CreateTextureFromFile("data/broken.png"), nullptr);
    device->SetTexture(0, nullptr);
    FullScreen(0.5f, 0xFF336699);
    EXPECT_EQ(PixelAt(TypeParam::BackBuffer(), 320, 240), (Rgb{0x33, 0x66, 0x99}));
}

TYPED_TEST_P(DeviceCases, BackFacesAreDrawnAndDepthPassesLessOrEqualWithWrites) {
    device->SetTexture(0, nullptr);
    Rectangle(-1, -1, 0, 1, 0.5f, 0xFFFF0000, 1, 1, /*flip=*/true);  // wound the other way
    Rectangle(0, -1, 1, 1, 0.5f, 0xFFFF0000);
    ExpectPixels(TypeParam::BackBuffer(), {{160, 240, {255, 0, 0}}, {480, 240, {255, 0, 0}}});

    FullScreen(0.5f, 0xFF00FF00);  // equal depth passes
    FullScreen(0.7f, 0xFFFFFFFF);  // farther fails: depth was written
    EXPECT_EQ(PixelAt(TypeParam::BackBuffer(), 320, 240), (Rgb{0, 255, 0}));
}

TYPED_TEST_P(DeviceCases, TheTopRowIsTvZeroSampledByNearestTexelAndWrapped) {
    Picture picture(2, 2, 0xFF0000FF);  // red top left
    picture.Set(1, 0, 0x00FF00FF);      // green top right
    picture.Set(0, 1, 0x0000FFFF);      // blue bottom left
    picture.Set(1, 1, 0xFFFFFFFF);      // white bottom right
    device->SetTexture(0, MakeTexture(picture));
    FullScreen(0.5f, 0xFFFFFFFF);
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};
    ExpectPixels(TypeParam::BackBuffer(), {{160, 120, red},
                                           {480, 120, green},
                                           {160, 360, blue},
                                           {480, 360, white},
                                           {318, 120, red},  // no filtering at the seam
                                           {321, 120, green}});

    // Coordinates beyond 1 repeat the image.
    Restart(0xFF000000);
    FullScreen(0.5f, 0xFFFFFFFF, 2, 2);
    ExpectPixels(TypeParam::BackBuffer(), {{80, 60, red}, {400, 60, red}, {560, 420, white}});
}

TYPED_TEST_P(DeviceCases, TheSkyIsLitPerVertexByItsMaterialAndTheThreeLights) {
    // Two squares 100 ahead: one faces the eye (its normal, unnormalised, points back at it),
    // one faces down, away from every light. Material: diffuse (0.9, 0.6, 0.3), emissive 0.1.
    WriteText("data/sky.x", R"(xof 0303txt 0032
Mesh {
 8;
 -60.0;10.0;100.0;, 60.0;10.0;100.0;, 60.0;60.0;100.0;, -60.0;60.0;100.0;,
 -60.0;-60.0;100.0;, 60.0;-60.0;100.0;, 60.0;-10.0;100.0;, -60.0;-10.0;100.0;;
 2;
 4;0,3,2,1;,
 4;4,7,6,5;;
 MeshNormals { 2; 0.0;0.0;-5.0;, 0.0;-1.0;0.0;; 2; 4;0,0,0,0;, 4;1,1,1,1;; }
 MeshMaterialList { 1; 1; 0;;
  Material { 0.9;0.6;0.3;1.0;; 0.0; 0.0;0.0;0.0;; 0.1;0.1;0.1;; }
 }
}
)");
    HeadlessHost headless;
    device->SetTransform(D3DTS_PROJECTION,
                         D3DXMatrixPerspectiveFovLH(0.7853981f, 1.3333334f, 10.0f, 30000.0f));
    SkyMesh sky = LoadSky();
    ASSERT_NE(sky.materials, nullptr);
    cameraEye = {0, 0, 0};
    device->BeginScene();
    DrawSky(sky);
    device->EndScene();
    Image image = TypeParam::BackBuffer();
    // Lights 0 and 1 each give 1/3 on the facing square; light 2 comes from behind it.
    Rgb facing = PixelAt(image, 320, 140), away = PixelAt(image, 320, 340);
    EXPECT_TRUE(Near(facing, Rgb{178, 127, 76}, 2)) << facing;
    EXPECT_TRUE(Near(away, Rgb{25, 25, 25}, 2)) << away;
    EXPECT_TRUE(headless.messageBoxes.empty());
}

TYPED_TEST_P(DeviceCases, TheSpriteLandsOnExactPixelsOverTheSceneAndPutsTheStatesBack) {
    FullScreen(0.01f, 0xFF0000FF);      // a scene as near as it gets: blue
    Picture picture(4, 2, 0xFFFF00FF);  // bottom row yellow
    picture.Set(0, 0, 0xFF0000FF);
    picture.Set(1, 0, 0x00FF00FF);
    picture.Set(2, 0, 0xFFFFFF00);  // transparent: the scene shows
    picture.Set(3, 0, 0xFFFFFFFF);
    DrawSprite(MakeTexture(picture), 100, 50, 2, 1);
    // An image of odd size is centred on half a pixel: 3 x 3 from (199, 99).
    Picture odd(3, 3, 0x00FF00FF);
    odd.Set(0, 0, 0xFF0000FF);
    DrawSprite(MakeTexture(odd), 200.5f, 100.5f, 1.5f, 1.5f);
    // Around the image's top left texel at (98, 49): Red, Green, White, Yellow; '.' the scene.
    const char* const rows[] = {"......", ".RG.W.", ".YYYY.", "......"};
    const std::map<char, Rgb> colours = {{'.', {0, 0, 255}},
                                         {'R', {255, 0, 0}},
                                         {'G', {0, 255, 0}},
                                         {'W', {255, 255, 255}},
                                         {'Y', {255, 255, 0}}};
    Image image = TypeParam::BackBuffer();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(PixelAt(image, 97 + x, 48 + y), colours.at(rows[y][x])) << x << "," << y;
    const char* const oddRows[] = {".....", ".RGG.", ".GGG.", ".GGG.", "....."};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(PixelAt(image, 198 + x, 98 + y), colours.at(oddRows[y][x])) << x << "," << y;

    // The scene's states are back: a farther quad stays behind the near one (depth test on),
    // and a texture of the scene still wraps and is lit off as the game left it.
    FullScreen(0.5f, 0xFFFF0000);
    EXPECT_EQ(PixelAt(TypeParam::BackBuffer(), 320, 240), (Rgb{0, 0, 255}));
    Restart(0xFF000000);
    Picture stripes(2, 1, 0xFF0000FF);
    stripes.Set(1, 0, 0x00FF00FF);
    device->SetTexture(0, MakeTexture(stripes));
    FullScreen(0.5f, 0xFFFFFFFF, 2, 1);
    DrawSprite(MakeTexture(odd), 600, 400, 1.5f, 1.5f);
    FullScreen(0.4f, 0xFFFFFFFF, 2, 1);  // drawn again after the sprite, with the same result
    ExpectPixels(TypeParam::BackBuffer(),
                 {{80, 10, {255, 0, 0}}, {240, 10, {0, 255, 0}}, {400, 10, {255, 0, 0}}});
}

REGISTER_TYPED_TEST_SUITE_P(DeviceCases, AlphaBelow128IsCutAndFromThereOnBlendsBySourceAlpha,
                            BackFacesAreDrawnAndDepthPassesLessOrEqualWithWrites,
                            TheTopRowIsTvZeroSampledByNearestTexelAndWrapped,
                            TheSkyIsLitPerVertexByItsMaterialAndTheThreeLights,
                            TheSpriteLandsOnExactPixelsOverTheSceneAndPutsTheStatesBack);

}  // namespace
