// DrawObject: each model's image and size, the quad, its billboard world matrix, and the world
// images it loads and retries.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <limits>
#include <set>

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
        for (const char* file : WorldTextureFiles) WritePng(file, 4, 2, 0xFFFFFFFF);
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

    static GameObject Object(int32_t model, float speed = 10.0f) {
        GameObject o;
        o.model = model;
        o.speed = speed;
        o.z = 1000;
        return o;
    }
};

// What the sizes are for: a bomber dwarfs a fighter, explosions shrink as they age, tiles join.
TEST_F(QuadTest, EachModelHasItsImageAndASizeThatFitsWhatItIs) {
    auto size = [](int32_t model, int32_t health = 1) {
        Appearance look = ModelAppearance(model, health);
        return glm::vec2(look.halfWidth, look.halfHeight);
    };
    EXPECT_GT(size(ModelBomber).x, 4 * size(ModelFighter).x);
    EXPECT_GT(size(ModelWarship).x, size(ModelBomber).x);
    // Health counts down from 0 to -50 while an explosion burns; unlisted ones in the range too.
    for (int32_t model : {50, 51, ModelExplosion, 60}) {
        EXPECT_GT(size(model, 0).x, size(model, -30).x) << model;
        EXPECT_GT(size(model, -30).x, 0.0f) << model;
        EXPECT_EQ(size(model, -50), glm::vec2(0)) << model;
    }
    for (int32_t model : {ModelGround, 120, 149}) EXPECT_EQ(size(model), size(ModelSea)) << model;
    // Anything else is drawn as a shot.
    EXPECT_EQ(size(7), size(ModelShot));
    EXPECT_EQ(ModelAppearance(7, 1).slot, ModelAppearance(ModelShot, 1).slot);
    std::set<int32_t> slots;
    for (int32_t model :
         {ModelShot, ModelFriend, ModelPlayer, ModelScout, ModelFighter, ModelLateFighter,
          ModelBomber, 50, 51, ModelExplosion, ModelSea, ModelGround, ModelWarship})
        slots.insert(ModelAppearance(model, 0).slot);
    EXPECT_EQ(slots.size(), size_t(WorldTextureCount));
}

TEST_F(QuadTest, TwoUnlitTrianglesCoverTheQuadWithTheImageUpright) {
    for (int32_t model : {ModelBomber, ModelSea}) {
        SCOPED_TRACE(model);
        const Appearance look = ModelAppearance(model, 1);
        recorder.calls.clear();
        DrawObject(Object(model));
        EXPECT_EQ(recorder.CallsNamed("SetRenderState").front()->ints,
                  (std::vector<uint32_t>{D3DRS_LIGHTING, FALSE}));
        EXPECT_EQ(recorder.CallsNamed("SetTexture")[0]->texture->path,
                  WorldTextureFiles[look.slot]);
        std::set<std::pair<float, float>> corners;
        for (const Triangle& t : Triangles()) {
            for (const QuadVertex& v : t) {
                EXPECT_EQ(std::abs(v.x), look.halfWidth);
                EXPECT_EQ(std::abs(v.y), look.halfHeight);
                EXPECT_TRUE(v.z == 0 && v.diffuse == 0xFFFFFFFFu);
                EXPECT_EQ(v.tv, v.y > 0 ? 0 : 1);  // the image's top row at the top
                EXPECT_EQ(v.tu, v.x > 0 ? 1 : 0);  // mirrored below: at positive speed
                corners.emplace(v.x, v.y);
            }
        }
        EXPECT_EQ(corners.size(), 4u);
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
        DrawObject(Object(ModelPlayer, speed));
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

// The one test of the retry at every use, which the screen images share.
TEST_F(QuadTest, AFailedImageDrawsUntexturedIsRetriedAtEveryUseAndBelongsToItsDevice) {
    std::filesystem::remove("data/sea.png");
    auto loads = [](const RecordingDevice& d, const char* path) {
        return std::count(d.textureLoads.begin(), d.textureLoads.end(), path);
    };
    const GameObject sea = Object(ModelSea);
    DrawObject(sea);
    EXPECT_EQ(loads(recorder, "data/sea.png"), 2);  // before each triangle
    for (const DeviceCall* call : recorder.CallsNamed("SetTexture"))
        EXPECT_EQ(call->texture, nullptr);
    EXPECT_EQ(recorder.CountOf("DrawPrimitiveUP"), 2u);
    DrawObject(Object(ModelGround));  // other models retry it too; what loaded stays loaded
    EXPECT_EQ(loads(recorder, "data/sea.png"), 4);
    EXPECT_EQ(loads(recorder, "data/gro.png"), 1);
    EXPECT_NE(recorder.CallsNamed("SetTexture").back()->texture, nullptr);

    WritePng("data/sea.png", 3, 3, 0x0000FFFF);
    ForgetFailedImages();  // picked up within a second; the test does not wait for it
    recorder.calls.clear();
    DrawObject(sea);
    DrawObject(sea);
    EXPECT_EQ(loads(recorder, "data/sea.png"), 5);
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
