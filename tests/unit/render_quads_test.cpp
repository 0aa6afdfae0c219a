// DrawObject: the quad's corners, texture coordinates and normals, its billboard world matrix,
// and the world images it loads and retries.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "platform/core/recording_device.h"
#include "render/camera.h"
#include "render/quads.h"
#include "tests/unit/render_test_files.h"

namespace {

using Triangle = std::array<QuadVertex, 3>;

glm::vec3 Apply(const Matrix& m, glm::vec3 p) { return glm::vec3(m * glm::vec4(p, 1.0f)); }

class QuadTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    RecordingDevice recorder;

    void SetUp() override {
        device = &recorder;
        // Every image a different size, so a loaded texture tells which file it came from.
        for (int i = 0; i < WorldTextureCount; ++i)
            WritePng(WorldTextureFiles[i], 4 + i, 2, 0xFFFFFFFF);
        cameraEye = {3000, 500, 200};
    }
    void TearDown() override { device = nullptr; }

    std::vector<Triangle> Triangles() const {
        std::vector<Triangle> found;
        for (const DeviceCall* call : recorder.CallsNamed("DrawPrimitiveUP")) {
            Triangle t;
            EXPECT_EQ(call->data.size(), sizeof t);
            std::memcpy(t.data(), call->data.data(), sizeof t);
            found.push_back(t);
        }
        return found;
    }
    Matrix LastWorld() const { return recorder.CallsNamed("SetTransform").back()->matrix; }

    static GameObject Object(int32_t model, int32_t health = 1, float speed = 10.0f) {
        GameObject o;
        o.model = model;
        o.health = health;
        o.speed = speed;
        o.z = 1000;
        return o;
    }
};

TEST_F(QuadTest, AQuadIsTwoTrianglesDrawnWithLightingOffAndTheImagesLoadOnce) {
    DrawObject(Object(ModelShot));
    const std::vector<std::pair<std::string, std::vector<uint32_t>>> expected = {
        {"SetFVF", {0x152}},
        {"SetRenderState", {D3DRS_LIGHTING, FALSE}},
        {"SetTransform", {D3DTS_WORLD}},
        {"SetTexture", {0}},
        {"DrawPrimitiveUP", {D3DPT_TRIANGLELIST, 1, 36}},
        {"SetTransform", {D3DTS_WORLD}},
        {"SetTexture", {0}},
        {"DrawPrimitiveUP", {D3DPT_TRIANGLELIST, 1, 36}},
        {"SetRenderState", {D3DRS_LIGHTING, TRUE}},
    };
    ASSERT_EQ(recorder.calls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(recorder.calls[i].op, expected[i].first) << "call " << i;
        EXPECT_EQ(recorder.calls[i].ints, expected[i].second) << "call " << i;
    }
    EXPECT_EQ(recorder.calls[2].matrix, recorder.calls[5].matrix);
    for (int i : {3, 6}) {
        ASSERT_NE(recorder.calls[i].texture, nullptr);
        EXPECT_EQ(recorder.calls[i].texture->path, "data/team0.png");
    }
    ASSERT_EQ(recorder.textureLoads.size(), size_t(WorldTextureCount));
    for (int i = 0; i < WorldTextureCount; ++i)
        EXPECT_EQ(recorder.textureLoads[i], WorldTextureFiles[i]);

    DrawObject(Object(ModelPlayer));
    EXPECT_EQ(recorder.textureLoads.size(), size_t(WorldTextureCount));
}

TEST_F(QuadTest, CornersTextureCoordinatesAndNormalsByModelAndHealth) {
    struct Case {
        const char* what;
        int32_t model, health;
        const char* file;
        float w, h;
    };
    const Case cases[] = {
        {"shot", 0, 1, "data/team0.png", 10, 10},
        {"player", 2, 1, "data/taku_raiden21.png", 98, 37},
        {"bomber", 13, 1, "data/b29.png", 918, 249},
        {"warship", 150, 1, "data/Fletcher_1942.png", 1190, 280},
        {"explosion at 0", 52, 0, "data/bo2.png", 150, 150},
        {"explosion at -30", 52, -30, "data/bo2.png", 60, 60},
        {"explosion at -50", 52, -50, "data/bo2.png", 0, 0},
        {"small explosion at -30", 50, -30, "data/bo0.png", 40, 40},
        {"unlisted in the explosion range", 60, -30, "data/team0.png", 20, 20},
        {"unlisted in the tile range", 120, 1, "data/team0.png", 800, 300},
        {"sea", 100, 1, "data/sea.png", 800, 300},
        {"ground", 101, 1, "data/gro.png", 800, 300},
        {"unlisted", 7, 1, "data/team0.png", 10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Appearance look = ModelAppearance(c.model, c.health);
        EXPECT_EQ(WorldTextureFiles[look.slot], std::string(c.file));
        EXPECT_FLOAT_EQ(look.halfWidth, c.w);
        EXPECT_FLOAT_EQ(look.halfHeight, c.h);

        recorder.calls.clear();
        DrawObject(Object(c.model, c.health));
        std::vector<Triangle> t = Triangles();
        ASSERT_EQ(t.size(), 2u);
        EXPECT_EQ(recorder.CallsNamed("SetTexture")[0]->texture->path, c.file);
        // Facing f = 1 (positive speed): the -X edge takes tu 0, the +X edge tu 1.
        const float expected[2][3][4] = {
            {{-c.w, c.h, 0, 0}, {-c.w, -c.h, 0, 1}, {c.w, c.h, 1, 0}},
            {{c.w, c.h, 1, 0}, {c.w, -c.h, 1, 1}, {-c.w, -c.h, 0, 1}},
        };
        for (int i = 0; i < 2; ++i) {
            for (int k = 0; k < 3; ++k) {
                const QuadVertex& v = t[i][k];
                EXPECT_FLOAT_EQ(v.x, expected[i][k][0]);
                EXPECT_FLOAT_EQ(v.y, expected[i][k][1]);
                EXPECT_EQ(v.z, 0.0f);
                EXPECT_EQ(v.tu, expected[i][k][2]);
                EXPECT_EQ(v.tv, expected[i][k][3]);
                EXPECT_EQ(v.diffuse, 0xFFFFFFFFu);
                EXPECT_EQ(v.nx, 0.0f);
                EXPECT_EQ(v.ny, 0.0f);
                EXPECT_FLOAT_EQ(v.nz, (i == 0 ? 4 : -4) * c.w * c.h);
            }
        }
    }
}

TEST_F(QuadTest, TheSignOfSpeedMirrorsTheImage) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (auto [speed, f] : {std::pair{10.0f, 1.0f}, {0.0f, 1.0f}, {-0.5f, 0.0f}, {nan, 0.0f}}) {
        SCOPED_TRACE(speed);
        recorder.calls.clear();
        DrawObject(Object(ModelPlayer, 1, speed));
        std::vector<Triangle> t = Triangles();
        ASSERT_EQ(t.size(), 2u);
        EXPECT_EQ(t[0][0].tu, 1 - f);  // -X edge
        EXPECT_EQ(t[0][2].tu, f);      // +X edge
        EXPECT_EQ(t[1][1].tu, f);
        EXPECT_EQ(t[1][2].tu, 1 - f);
    }
}

TEST_F(QuadTest, WorldMatrixPutsTheCentreOnTheObjectAndTurnsTheFaceToTheEye) {
    struct Case {
        glm::vec3 object, eye;
    };
    const Case cases[] = {
        {{0, 500, 1000}, {3000, 500, 200}},      // level with the eye, ahead
        {{-8000, -300, -4000}, {3000, 800, 0}},  // a far tile below, behind
        {{100, 200, 300}, {100, 900, 300}},      // straight below the eye
        {{2500, 900, 9000}, {3000, 300, 200}},   // above the eye
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.object.x << "," << c.object.y << "," << c.object.z);
        cameraEye = {c.eye.x, c.eye.y, c.eye.z};
        GameObject o = Object(ModelPlayer);
        o.x = c.object.x;
        o.y = c.object.y;
        o.z = c.object.z;
        DrawObject(o);
        Matrix world = LastWorld();
        glm::vec3 centre = Apply(world, {0, 0, 0});
        EXPECT_NEAR(glm::distance(centre, c.object), 0.0f, 1e-3f);
        glm::vec3 face = glm::normalize(glm::mat3(world) * glm::vec3(0, 0, 1));
        glm::vec3 toEye = c.eye - c.object;
        glm::vec2 faceFlat(face.x, face.z), eyeFlat(toEye.x, toEye.z);
        if (glm::length(eyeFlat) > 0) {
            // Horizontally the face points straight at the eye.
            EXPECT_NEAR(faceFlat.x * eyeFlat.y - faceFlat.y * eyeFlat.x, 0.0f, 1e-3f);
            EXPECT_GT(glm::dot(faceFlat, eyeFlat), 0.0f);
        }
        // And it leans toward the eye's height: up when the eye is above, down when below.
        if (toEye.y > 0) {
            EXPECT_GT(face.y, 0.0f);
        }
        if (toEye.y < 0) {
            EXPECT_LT(face.y, 0.0f);
        }
        if (toEye.y == 0) {
            EXPECT_NEAR(face.y, 0.0f, 1e-5f);  // level: the quad stands upright
            EXPECT_NEAR(glm::normalize(glm::mat3(world) * glm::vec3(0, 1, 0)).y, 1.0f, 1e-5f);
        }
        if (glm::length(eyeFlat) == 0) {  // below: lies flat
            EXPECT_NEAR(face.y, 1.0f, 1e-5f);
        }
    }
}

TEST_F(QuadTest, SeenByTheCameraPositiveSpeedShowsTheImageMirroredAndPitchDipsTheNose) {
    GameObject player;
    player.y = 500;
    UpdateCamera(player);
    const Matrix view = recorder.CallsNamed("SetTransform")[1]->matrix;
    auto screenX = [&](const Matrix& world, const QuadVertex& v) {
        return Apply(D3DXMatrixMultiply(world, view), {v.x, v.y, v.z}).x;
    };
    for (float speed : {10.0f, -10.0f}) {
        recorder.calls.clear();
        DrawObject(Object(ModelPlayer, 1, speed));
        Triangle t = Triangles()[0];
        const QuadVertex& left =
            screenX(LastWorld(), t[0]) < screenX(LastWorld(), t[2]) ? t[0] : t[2];
        // The image's first column (tu 0) shows on the right when the speed is not negative.
        EXPECT_EQ(left.tu, speed >= 0 ? 1.0f : 0.0f);
    }

    // A nose-down pitch lifts the end on the viewer's left, the rear of a plane flying right.
    recorder.calls.clear();
    GameObject pitched = Object(ModelPlayer);
    pitched.y = 500;
    pitched.pitch = 0.2f;
    DrawObject(pitched);
    Matrix world = LastWorld();
    glm::vec3 plusX = Apply(world, {98, 0, 0}), minusX = Apply(world, {-98, 0, 0});
    EXPECT_GT(plusX.y, minusX.y);
    EXPECT_LT(Apply(view, plusX).x, Apply(view, minusX).x);
}

TEST_F(QuadTest, AnImageThatFailsIsDrawnUntexturedAndRetriedBeforeEveryTriangle) {
    std::filesystem::remove("data/sea.png");
    GameObject sea = Object(ModelSea);
    DrawObject(sea);
    // All 13 before the first triangle, then the missing one again before the second.
    ASSERT_EQ(recorder.textureLoads.size(), size_t(WorldTextureCount) + 1);
    EXPECT_EQ(recorder.textureLoads.back(), "data/sea.png");
    for (const DeviceCall* call : recorder.CallsNamed("SetTexture"))
        EXPECT_EQ(call->texture, nullptr);
    EXPECT_EQ(recorder.CountOf("DrawPrimitiveUP"), 2u);

    DrawObject(Object(ModelGround));  // other models retry it too, and still draw textured
    EXPECT_EQ(recorder.textureLoads.size(), size_t(WorldTextureCount) + 3);
    EXPECT_NE(recorder.CallsNamed("SetTexture").back()->texture, nullptr);

    WritePng("data/sea.png", 3, 3, 0x0000FFFF);
    recorder.calls.clear();
    DrawObject(sea);
    DrawObject(sea);
    EXPECT_EQ(recorder.textureLoads.size(), size_t(WorldTextureCount) + 4);
    for (const DeviceCall* call : recorder.CallsNamed("SetTexture")) {
        ASSERT_NE(call->texture, nullptr);
        EXPECT_EQ(call->texture->path, "data/sea.png");
    }
}

TEST_F(QuadTest, ImagesOfAReplacedDeviceAreNotUsed) {
    DrawObject(Object(ModelShot));
    RecordingDevice next;
    device = &next;
    DrawObject(Object(ModelShot));
    EXPECT_EQ(next.textureLoads.size(), size_t(WorldTextureCount));
    Texture* bound = next.CallsNamed("SetTexture")[0]->texture;
    ASSERT_NE(bound, nullptr);
    EXPECT_NE(bound, recorder.CallsNamed("SetTexture")[0]->texture);
    device = &recorder;
}

}  // namespace
