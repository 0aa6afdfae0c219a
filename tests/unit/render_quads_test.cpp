// DrawObject: the quad's corners, texture coordinates and normals, its billboard world matrix,
// and the world images it loads and retries.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <limits>

#include "platform/core/recording_device.h"
#include "render/camera.h"
#include "render/quads.h"
#include "tests/unit/render_test_files.h"

using namespace dev;

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

TEST_F(QuadTest, CornersTextureCoordinatesAndNormalsByModelAndHealth) {
    struct Case {
        const char* what;
        int32_t model, health;
        const char* file;
        float w, h;
    };
    const Case cases[] = {
        {"shot", 0, 1, "data/team0.png", 10, 10},
        {"bomber", 13, 1, "data/b29.png", 918, 249},
        {"warship", 150, 1, "data/Fletcher_1942.png", 1190, 280},
        {"explosion at 0", 52, 0, "data/bo2.png", 150, 150},
        {"explosion at -30", 52, -30, "data/bo2.png", 60, 60},
        {"explosion at -50", 52, -50, "data/bo2.png", 0, 0},
        {"small explosion at -30", 50, -30, "data/bo0.png", 40, 40},
        {"unlisted in the explosion range", 60, -30, "data/team0.png", 20, 20},
        {"unlisted in the tile range", 120, 1, "data/team0.png", 800, 300},
        {"sea", 100, 1, "data/sea.png", 800, 300},
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
                EXPECT_EQ(v.tu, expected[i][k][2]);
                EXPECT_EQ(v.tv, expected[i][k][3]);
                EXPECT_TRUE(v.z == 0 && v.nx == 0 && v.ny == 0 && v.diffuse == 0xFFFFFFFFu);
                EXPECT_FLOAT_EQ(v.nz, (i == 0 ? 4 : -4) * c.w * c.h);
            }
        }
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
        EXPECT_NEAR(glm::distance(Apply(world, {0, 0, 0}), c.object), 0.0f, 1e-3f);
        glm::vec3 face = glm::normalize(glm::mat3(world) * glm::vec3(0, 0, 1));
        glm::vec3 toEye = c.eye - c.object;
        glm::vec2 faceFlat(face.x, face.z), eyeFlat(toEye.x, toEye.z);
        if (glm::length(eyeFlat) > 0) {
            // Horizontally the face points straight at the eye.
            EXPECT_NEAR(faceFlat.x * eyeFlat.y - faceFlat.y * eyeFlat.x, 0.0f, 1e-3f);
            EXPECT_GT(glm::dot(faceFlat, eyeFlat), 0.0f);
        } else {
            EXPECT_NEAR(face.y, 1.0f, 1e-5f);  // straight below the eye it lies flat
        }
        // And it leans toward the eye's height; level with the eye it stands upright.
        if (toEye.y == 0) {
            EXPECT_NEAR(face.y, 0.0f, 1e-5f);
            EXPECT_NEAR(glm::normalize(glm::mat3(world) * glm::vec3(0, 1, 0)).y, 1.0f, 1e-5f);
        } else {
            EXPECT_EQ(face.y > 0, toEye.y > 0);
        }
    }
}

TEST_F(QuadTest, SeenByTheCameraPositiveSpeedShowsTheImageMirroredAndPitchDipsTheNose) {
    GameObject player;
    player.y = 500;
    UpdateCamera(player);
    const Matrix view = recorder.CallsNamed("SetTransform")[1]->matrix;
    auto screenX = [&](const QuadVertex& v) {
        return Apply(D3DXMatrixMultiply(LastWorld(), view), {v.x, v.y, v.z}).x;
    };
    // The image's first column (tu 0) shows on the right unless the speed is negative or not
    // a number at all.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (auto [speed, f] : {std::pair{10.0f, 1.0f}, {0.0f, 1.0f}, {-0.5f, 0.0f}, {nan, 0.0f}}) {
        SCOPED_TRACE(speed);
        recorder.calls.clear();
        DrawObject(Object(ModelPlayer, 1, speed));
        std::vector<Triangle> t = Triangles();
        ASSERT_EQ(t.size(), 2u);
        const bool firstLeft = screenX(t[0][0]) < screenX(t[0][2]);
        EXPECT_EQ(t[0][firstLeft ? 0 : 2].tu, f);
        EXPECT_EQ(t[0][firstLeft ? 2 : 0].tu, 1 - f);
        EXPECT_EQ(t[1][1].tu, t[0][2].tu);  // the second triangle agrees
    }

    // A nose-down pitch lifts the end on the viewer's left, the rear of a plane flying right.
    recorder.calls.clear();
    GameObject pitched = Object(ModelPlayer);
    pitched.y = 500;
    pitched.pitch = 0.2f;
    DrawObject(pitched);
    glm::vec3 plusX = Apply(LastWorld(), {98, 0, 0}), minusX = Apply(LastWorld(), {-98, 0, 0});
    EXPECT_GT(plusX.y, minusX.y);
    EXPECT_LT(Apply(view, plusX).x, Apply(view, minusX).x);
}

TEST_F(QuadTest, AnImageThatFailsIsDrawnUntexturedAndRetriedBeforeEveryTriangle) {
    std::filesystem::remove("data/sea.png");
    GameObject sea = Object(ModelSea);
    DrawObject(sea);
    // All 13 in table order before the first triangle, then the missing one again before the
    // second.
    std::vector<std::string> loads(WorldTextureFiles, WorldTextureFiles + WorldTextureCount);
    loads.push_back("data/sea.png");
    EXPECT_EQ(recorder.textureLoads, loads);
    for (const DeviceCall* call : recorder.CallsNamed("SetTexture"))
        EXPECT_EQ(call->texture, nullptr);
    EXPECT_EQ(recorder.CountOf("DrawPrimitiveUP"), 2u);
    EXPECT_EQ(recorder.CallsNamed("SetRenderState").front()->ints,
              (std::vector<uint32_t>{D3DRS_LIGHTING, FALSE}));  // quads are never lit

    DrawObject(Object(ModelGround));  // other models retry it too, and still draw textured
    EXPECT_EQ(recorder.textureLoads.size(), size_t(WorldTextureCount) + 3);
    EXPECT_NE(recorder.CallsNamed("SetTexture").back()->texture, nullptr);

    WritePng("data/sea.png", 3, 3, 0x0000FFFF);
    ForgetFailedImages();  // picked up within a second; the test does not wait for it
    recorder.calls.clear();
    DrawObject(sea);
    DrawObject(sea);
    EXPECT_EQ(recorder.textureLoads.size(), size_t(WorldTextureCount) + 4);
    for (const DeviceCall* call : recorder.CallsNamed("SetTexture")) {
        ASSERT_NE(call->texture, nullptr);
        EXPECT_EQ(call->texture->path, "data/sea.png");
    }

    // A replaced device loads its own images instead of using the old device's.
    Texture* old = recorder.CallsNamed("SetTexture")[0]->texture;
    RecordingDevice next;
    device = &next;
    DrawObject(sea);
    EXPECT_EQ(next.textureLoads.size(), size_t(WorldTextureCount));
    ASSERT_NE(next.CallsNamed("SetTexture")[0]->texture, nullptr);
    EXPECT_NE(next.CallsNamed("SetTexture")[0]->texture, old);
}

}  // namespace
