// The Direct3D 9 device gives the look the game relies on, read back from a real device: alpha
// test and blending, depth, no culling, texture orientation and point sampling, the sky's
// lighting, the screen sprite on exact pixels with the states it changes put back, and a lost
// device that comes back with its settings and textures.
#include <map>
#include <tuple>

#include "platform/core/headless_host.h"
#include "render/camera.h"
#include "render/quads.h"
#include "render/render_states.h"
#include "render/sky.h"
#include "tests/d3d9/d3d9_test_window.h"

using namespace dev;

namespace {

class D3D9DeviceTest : public D3D9Test {
  protected:
    std::unique_ptr<ScratchFolder> folder;

    void SetUp() override {
        folder = std::make_unique<ScratchFolder>();
        D3D9Test::SetUp();
        if (HasFatalFailure()) return;
        InitRenderStates();
        InitLights();
        device->SetTransform(D3DTS_WORLD, Matrix(1.0f));
        device->SetTransform(D3DTS_VIEW, Matrix(1.0f));
        device->SetTransform(D3DTS_PROJECTION, Matrix(1.0f));
        Restart(0xFF0000FF);
    }
    void TearDown() override {
        D3D9Test::TearDown();
        folder.reset();
    }

    Texture* MakeTexture(const Picture& picture) {
        static int made = 0;
        std::string path = "data/made" + std::to_string(made++) + ".png";
        WritePicture(path, picture);
        return device->CreateTextureFromFile(path);
    }

    // A rectangle from (x0, y0) to (x1, y1) at depth z, as two triangles wound like the game's
    // quads; with identity transforms the positions are clip space (y up, depth 0 to 1).
    static void Rectangle(float x0, float y0, float x1, float y1, float z, uint32_t argb,
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
        for (auto& t : triangles)
            device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, t, sizeof(QuadVertex));
        device->EndScene();
        device->SetRenderState(D3DRS_LIGHTING, TRUE);
    }
    static void FullScreen(float z, uint32_t argb, float u = 1, float v = 1) {
        Rectangle(-1, -1, 1, 1, z, argb, u, v);
    }
    static void Restart(uint32_t argb) {
        device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, argb, 1.0f, 0);
    }
    static void ExpectPixels(const Image& image,
                             std::initializer_list<std::tuple<int, int, Rgb>> at) {
        for (auto [x, y, colour] : at) EXPECT_EQ(PixelAt(image, x, y), colour) << x << "," << y;
    }
    static void DrawSprite(Texture* texture, float x, float y, float cx, float cy) {
        Sprite* sprite = device->CreateSprite();
        sprite->SetTransform(D3DXMatrixTranslation(x, y, 0));
        device->BeginScene();
        sprite->Begin(0);
        sprite->Draw(texture, {cx, cy, 0}, 0xFFFFFFFF);
        sprite->End();
        device->EndScene();
    }
};

TEST_F(D3D9DeviceTest, AlphaBelow128IsCutAndFromThereOnBlendsBySourceAlpha) {
    Picture picture(3, 1, 0xFF00007F);  // red, alpha 127
    picture.Set(1, 0, 0xFF000080);      // alpha 128
    picture.Set(2, 0, 0x00FF00FF);      // opaque green
    device->SetTexture(0, MakeTexture(picture));
    FullScreen(0.5f, 0xFFFFFFFF);
    Image image = ReadD3D9BackBuffer(*device);
    ASSERT_EQ(image.width, 640);
    ExpectPixels(image, {{100, 240, {0, 0, 255}}, {540, 240, {0, 255, 0}}});
    // 128/255 of red over 127/255 of the blue clear colour.
    EXPECT_TRUE(Near(PixelAt(image, 320, 240), Rgb{128, 0, 127})) << PixelAt(image, 320, 240);

    // The vertex alpha multiplies the texture's: opaque texels at half alpha are cut too.
    Restart(0xFF0000FF);
    FullScreen(0.5f, 0x7FFFFFFF);
    EXPECT_EQ(PixelAt(ReadD3D9BackBuffer(*device), 540, 240), (Rgb{0, 0, 255}));

    // Without a texture (none set, or a file that is missing or not an image) the vertex
    // colour shows as it is.
    EXPECT_EQ(device->CreateTextureFromFile("data/absent.png"), nullptr);
    WriteText("data/broken.png", "not an image");
    EXPECT_EQ(device->CreateTextureFromFile("data/broken.png"), nullptr);
    device->SetTexture(0, nullptr);
    FullScreen(0.5f, 0xFF336699);
    EXPECT_EQ(PixelAt(ReadD3D9BackBuffer(*device), 320, 240), (Rgb{0x33, 0x66, 0x99}));
}

TEST_F(D3D9DeviceTest, BackFacesAreDrawnAndDepthPassesLessOrEqualWithWrites) {
    device->SetTexture(0, nullptr);
    Rectangle(-1, -1, 0, 1, 0.5f, 0xFFFF0000, 1, 1, /*flip=*/true);  // wound the other way
    Rectangle(0, -1, 1, 1, 0.5f, 0xFFFF0000);
    ExpectPixels(ReadD3D9BackBuffer(*device), {{160, 240, {255, 0, 0}}, {480, 240, {255, 0, 0}}});

    FullScreen(0.5f, 0xFF00FF00);  // equal depth passes
    FullScreen(0.7f, 0xFFFFFFFF);  // farther fails: depth was written
    EXPECT_EQ(PixelAt(ReadD3D9BackBuffer(*device), 320, 240), (Rgb{0, 255, 0}));
}

TEST_F(D3D9DeviceTest, TheTopRowIsTvZeroSampledByNearestTexelAndWrapped) {
    Picture picture(2, 2, 0xFF0000FF);  // red top left
    picture.Set(1, 0, 0x00FF00FF);      // green top right
    picture.Set(0, 1, 0x0000FFFF);      // blue bottom left
    picture.Set(1, 1, 0xFFFFFFFF);      // white bottom right
    device->SetTexture(0, MakeTexture(picture));
    FullScreen(0.5f, 0xFFFFFFFF);
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};
    ExpectPixels(ReadD3D9BackBuffer(*device), {{160, 120, red},
                                               {480, 120, green},
                                               {160, 360, blue},
                                               {480, 360, white},
                                               {318, 120, red},  // no filtering at the seam
                                               {321, 120, green}});

    // Coordinates beyond 1 repeat the image.
    Restart(0xFF000000);
    FullScreen(0.5f, 0xFFFFFFFF, 2, 2);
    ExpectPixels(ReadD3D9BackBuffer(*device), {{80, 60, red}, {400, 60, red}, {560, 420, white}});
}

TEST_F(D3D9DeviceTest, TheSkyIsLitPerVertexByItsMaterialAndTheThreeLights) {
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
    Image image = ReadD3D9BackBuffer(*device);
    // Lights 0 and 1 each give 1/3 on the facing square; light 2 comes from behind it.
    Rgb facing = PixelAt(image, 320, 140), away = PixelAt(image, 320, 340);
    EXPECT_TRUE(Near(facing, Rgb{178, 127, 76}, 2)) << facing;
    EXPECT_TRUE(Near(away, Rgb{25, 25, 25}, 2)) << away;
    EXPECT_TRUE(headless.messageBoxes.empty());
}

TEST_F(D3D9DeviceTest, TheSpriteLandsOnExactPixelsOverTheSceneAndPutsTheStatesBack) {
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
    Image image = ReadD3D9BackBuffer(*device);
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
    EXPECT_EQ(PixelAt(ReadD3D9BackBuffer(*device), 320, 240), (Rgb{0, 0, 255}));
    Restart(0xFF000000);
    Picture stripes(2, 1, 0xFF0000FF);
    stripes.Set(1, 0, 0x00FF00FF);
    device->SetTexture(0, MakeTexture(stripes));
    FullScreen(0.5f, 0xFFFFFFFF, 2, 1);
    DrawSprite(MakeTexture(odd), 600, 400, 1.5f, 1.5f);
    FullScreen(0.4f, 0xFFFFFFFF, 2, 1);  // drawn again after the sprite, with the same result
    ExpectPixels(ReadD3D9BackBuffer(*device),
                 {{80, 10, {255, 0, 0}}, {240, 10, {0, 255, 0}}, {400, 10, {255, 0, 0}}});
}

TEST_F(D3D9DeviceTest, ALostDeviceComesBackWithItsSettingsAndTextures) {
    Picture picture(2, 1, 0xFF00007F);  // cut by the alpha test
    picture.Set(1, 0, 0x00FF00C0);      // blended with weight 192/255
    Texture* texture = MakeTexture(picture);
    device->SetTexture(0, texture);
    FullScreen(0.5f, 0xFFFFFFFF);
    const Image before = ReadD3D9BackBuffer(*device);

    SimulateD3D9DeviceLost(*device);
    device->Present();  // resets: the device's own defaults return, then the game's settings
    EXPECT_EQ(D3D9ResetCount(*device), 1);
    Restart(0xFF0000FF);
    FullScreen(0.5f, 0xFFFFFFFF);
    const Image after = ReadD3D9BackBuffer(*device);
    EXPECT_EQ(PixelAt(after, 100, 240), (Rgb{0, 0, 255}));
    EXPECT_TRUE(after.rgba == before.rgba);
}

TEST_F(D3D9DeviceTest, JoinedDrawsGiveThePixelsOfSeparateOnes) {
    // Half-transparent images and overlapping quads, so order matters in every pixel.
    WritePicture("data/team0.png", Picture(4, 4, 0xFF2020C8));
    WritePicture("data/gro.png", Picture(8, 4, 0x20C020FF));
    Picture sea(8, 4, 0x2040FFA0);
    sea.Set(3, 1, 0x00000000);
    WritePicture("data/sea.png", sea);
    GameObject player;
    player.y = 500;
    std::vector<GameObject> objects;
    for (int i = 0; i < 90; ++i) {
        GameObject o;
        o.model = i % 3 == 0 ? ModelShot : (i % 5 == 0 ? ModelSea : ModelGround);
        o.x = float(-300 * (i % 7));
        o.y = float(300 + 37 * (i % 11));
        o.z = float(-1500 + 41 * i);
        o.speed = i % 2 ? 1.0f : -1.0f;
        o.pitch = 0.05f * float(i % 4);
        objects.push_back(o);
    }
    auto draw = [&](bool joined) {
        SetD3D9Batching(*device, joined);
        Restart(0xFF000000);
        int before = D3D9DrawCount(*device);
        device->BeginScene();
        UpdateCamera(player);
        for (const GameObject& o : objects) DrawObject(o);
        device->EndScene();
        return std::pair{ReadD3D9BackBuffer(*device), D3D9DrawCount(*device) - before};
    };
    auto [separate, separateDraws] = draw(false);
    auto [joined, joinedDraws] = draw(true);
    EXPECT_EQ(separateDraws, 180);
    EXPECT_LT(joinedDraws, 90);
    int differing = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) differing += PixelAt(separate, x, y) != PixelAt(joined, x, y);
    // Moving corners to world space before the device does rounds a few edge pixels apart.
    EXPECT_LE(differing, 640 * 480 / 1000) << differing;
}

}  // namespace
