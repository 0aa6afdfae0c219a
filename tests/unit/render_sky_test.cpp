// LoadSky and DrawSky on small mesh files written by the tests. A sky file that fails shows its
// box once and the game runs on: the spoiled-data tests.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/core/headless_host.h"
#include "platform/core/recording_device.h"
#include "render/sky.h"
#include "tests/unit/render_test_files.h"

using namespace dev;

namespace {

std::string Material(const std::string& colour, const std::string& texture = "") {
    std::string text = "Material {\n " + colour + ";;\n 5.0;\n 0.0;0.0;0.0;;\n 0.0;0.0;0.0;;\n";
    if (!texture.empty()) text += " TextureFilename { \"" + texture + "\"; }\n";
    return text + "}\n";
}

// A square of two triangles whose list names `materials` (inline or references), after the
// named materials in `before`.
std::string SkyFile(const std::string& before, int count, const std::string& materials) {
    return "xof 0303txt 0032\n" + before +
           "Mesh Sky {\n 4;\n -1.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;-1.0;0.0;, -1.0;-1.0;0.0;;\n"
           " 2;\n 3;0,1,2;, 3;0,2,3;;\n MeshMaterialList {\n " +
           std::to_string(count) + "; 2; 0, " + std::to_string(count - 1) + ";;\n" + materials +
           " }\n}\n";
}

class SkyTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    RecordingDevice recorder;
    HeadlessHost headless;

    void SetUp() override { device = &recorder; }
    void TearDown() override { device = nullptr; }
};

TEST_F(SkyTest, MaterialsAreCopiedWithAmbientSetToDiffuseAndTexturesReadFromData) {
    WritePng("data/sky.png", 4, 8, 0x80C0FFFF);
    WriteText("data/sky.x", SkyFile("Material Blue {\n 0.0;0.0;1.0;1.0;;\n 1.0;\n 0.0;0.0;0.0;;\n"
                                    " 0.0;0.0;0.0;;\n}\n",
                                    3,
                                    Material("0.5;0.25;0.125;1.0", "sky.png") + "{ Blue }\n" +
                                        Material("1.0;1.0;1.0;0.5", "absent.png")));
    SkyMesh sky = LoadSky();
    EXPECT_TRUE(headless.messageBoxes.empty());
    ASSERT_EQ(sky.materialCount, 3u);
    ASSERT_NE(sky.materials, nullptr);
    ASSERT_NE(sky.textures, nullptr);
    ASSERT_NE(sky.mesh, nullptr);

    auto rgba = [](const D3DCOLORVALUE& c) { return glm::vec4(c.r, c.g, c.b, c.a); };
    const glm::vec4 diffuse[3] = {{0.5f, 0.25f, 0.125f, 1.0f}, {0, 0, 1, 1}, {1, 1, 1, 0.5f}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rgba(sky.materials[i].diffuse), diffuse[i]) << i;
        EXPECT_EQ(rgba(sky.materials[i].ambient), diffuse[i]) << i;
    }
    ASSERT_NE(sky.textures[0], nullptr);
    EXPECT_EQ(sky.textures[0]->path, "data/sky.png");
    EXPECT_EQ(sky.textures[0]->height, 8u);
    EXPECT_EQ(sky.textures[1], nullptr);  // names no texture
    EXPECT_EQ(sky.textures[2], nullptr);  // names one that is not there
    EXPECT_EQ(recorder.textureLoads, (std::vector<std::string>{"data/sky.png", "data/absent.png"}));
}

TEST_F(SkyTest, MaterialsNamingOneFileShareItsTextureAndFewFilesAreRead) {
    WritePng("data/sky.png", 2, 2, 0xFFFFFFFF);
    std::string materials;
    for (int i = 0; i < 40; ++i) materials += Material("1.0;1.0;1.0;1.0", "sky.png");
    for (int i = 0; i < 12; ++i)
        materials += Material("1.0;1.0;1.0;1.0", "other" + std::to_string(i) + ".png");
    WriteText("data/sky.x", SkyFile("", 52, materials));
    SkyMesh sky = LoadSky();
    ASSERT_EQ(sky.materialCount, 52u);
    ASSERT_NE(sky.textures[0], nullptr);
    for (int i = 1; i < 40; ++i) EXPECT_EQ(sky.textures[i], sky.textures[0]) << i;
    // Eight files in all, each read once.
    ASSERT_EQ(recorder.textureLoads.size(), 8u);
    std::sort(recorder.textureLoads.begin(), recorder.textureLoads.end());
    EXPECT_EQ(std::unique(recorder.textureLoads.begin(), recorder.textureLoads.end()),
              recorder.textureLoads.end());
}

// Such a texture is left out, not cut down to what fits: that subset draws untextured.
TEST_F(SkyTest, TextureNamesThatLeaveTheDataFolderOrDoNotFitAreRefusedAndSaidSo) {
    WritePng("data/inside.png", 2, 2, 0xFFFFFFFF);
    const std::string names[] = {"../../../../tmp/x.png", "/etc/x.png",      "C:/x.png",
                                 "sub\\..\\x.png",        "sub/../../x.png", "..",
                                 std::string(300, 'b'),   "inside.png"};
    std::string materials;
    for (const std::string& name : names) materials += Material("1.0;1.0;1.0;1.0", name);
    WriteText("data/sky.x", SkyFile("", 8, materials));
    testing::internal::CaptureStderr();
    SkyMesh sky = LoadSky();
    std::string said = testing::internal::GetCapturedStderr();
    ASSERT_EQ(sky.materialCount, 8u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(sky.textures[i], nullptr) << names[i];
        EXPECT_NE(said.find(i < 6 ? names[i] + " is refused" : "texture name longer"),
                  std::string::npos)
            << said;
    }
    EXPECT_NE(sky.textures[7], nullptr);
    EXPECT_EQ(recorder.textureLoads, std::vector<std::string>{"data/inside.png"});
}

// Where the sky is drawn shows in the device tests' frames.
TEST_F(SkyTest, EachSubsetIsDrawnWithItsOwnMaterialAndTexture) {
    WritePng("data/sky.png", 2, 2, 0xFFFFFFFF);
    WriteText("data/sky.x",
              SkyFile("", 2, Material("0.0;0.5;1.0;1.0", "sky.png") + Material("1.0;0.5;0.0;1.0")));
    SkyMesh sky = LoadSky();
    ASSERT_EQ(sky.materialCount, 2u);
    DrawSky(sky);
    ASSERT_EQ(recorder.calls.size(), 7u);  // the world transform, then three calls a subset
    for (uint32_t i = 0; i < 2; ++i) {
        const DeviceCall* call = &recorder.calls[1 + 3 * i];
        EXPECT_EQ(call[0].material.diffuse.r, sky.materials[i].diffuse.r);
        EXPECT_EQ(call[1].texture, sky.textures[i]);
        EXPECT_EQ(call[2].ints, std::vector<uint32_t>{i});
    }
    EXPECT_NE(sky.textures[0], sky.textures[1]);
}

}  // namespace
