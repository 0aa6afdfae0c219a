// The camera and the projection it is built with (the other matrix functions show in the quad
// tests). The fixed device states and the lights are checked by their effect on real pixels in
// the OpenGL tests.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/recording_device.h"
#include "render/camera.h"

using namespace dev;

namespace {

// Applies a row-vector matrix to a point, as the device does.
glm::vec3 Apply(const Matrix& m, glm::vec3 p) {
    glm::vec4 r = m * glm::vec4(p, 1.0f);
    return glm::vec3(r) / r.w;
}

void ExpectNear(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-5f) {
    EXPECT_LT(glm::distance(actual, expected), tolerance)
        << actual.x << "," << actual.y << "," << actual.z;
}

TEST(MatrixFunctions, PerspectiveFovLHMapsTheFrustumToXYMinusOneToOneAndDepthZeroToOne) {
    const float fov = 0.7853981f, aspect = 1.3333334f, halfHeight = std::tan(fov / 2);
    Matrix m = D3DXMatrixPerspectiveFovLH(fov, aspect, 10.0f, 30000.0f);
    ExpectNear(Apply(m, {0, 0, 10}), {0, 0, 0});
    ExpectNear(Apply(m, {0, 0, 30000}), {0, 0, 1});
    ExpectNear(Apply(m, {500 * halfHeight * aspect, -500 * halfHeight, 500}),
               {1, -1, Apply(m, {0, 0, 500}).z});
    EXPECT_EQ((m * glm::vec4(0, 0, 500, 1)).w, 500.0f);  // w carries the distance
}

class CameraTest : public ::testing::Test {
  protected:
    RecordingDevice recorder;
    Matrix projection{1.0f}, view{1.0f};
    void SetUp() override { device = &recorder; }
    void TearDown() override { device = nullptr; }
    void Update(float x, float y, float z) {
        recorder.calls.clear();
        GameObject player;
        player.x = x;
        player.y = y;
        player.z = z;
        UpdateCamera(player);
        ASSERT_EQ(recorder.calls.size(), 2u);
        ASSERT_EQ(recorder.calls[0].ints, std::vector<uint32_t>{D3DTS_PROJECTION});
        ASSERT_EQ(recorder.calls[1].ints, std::vector<uint32_t>{D3DTS_VIEW});
        projection = recorder.calls[0].matrix;
        view = recorder.calls[1].matrix;
    }
    // Where a world point lands in the view: x right, y up, z the distance ahead.
    glm::vec3 InView(glm::vec3 p) { return Apply(view, p); }
};

TEST_F(CameraTest, EyeStandsBesideThePlayerAndLooksAheadOfIt) {
    Update(0, 500, 1);
    EXPECT_EQ(glm::vec3(cameraEye.x, cameraEye.y, cameraEye.z), glm::vec3(3000, 500, 201));
    ExpectNear(InView({3000, 500, 201}), {0, 0, 0}, 1e-3f);
    ExpectNear(InView({0, 500, 201}), {0, 0, 3000}, 1e-2f);  // straight ahead, 3000 away
    // The course runs left to right and the aircraft sits left of the centre, inside the depth
    // range.
    EXPECT_GT(InView({0, 500, 5000}).x, 0.0f);
    glm::vec3 player = Apply(D3DXMatrixMultiply(view, projection), {0, 500, 1});
    EXPECT_LT(player.x, 0.0f);
    EXPECT_NEAR(player.y, 0.0f, 1e-5f);
    EXPECT_GT(player.z, 0.0f);
    EXPECT_LT(player.z, 1.0f);
    EXPECT_EQ(projection, D3DXMatrixPerspectiveFovLH(0.7853981f, 1.3333334f, 10.0f, 30000.0f));
}

TEST_F(CameraTest, EyeNeverGoesBelowThreeHundredAndFollowsTheSidewaysPosition) {
    Update(0, 120, 1);
    EXPECT_EQ(cameraEye.y, 300.0f);
    // It still looks at the aircraft's own height, so the eye's height shows above the centre.
    ExpectNear(InView({0, 120, 201}) * glm::vec3(1, 1, 0), {0, 0, 0}, 1e-3f);
    EXPECT_GT(InView({0, 300, 201}).y, 0.0f);
    Update(0, 300, 1);
    EXPECT_EQ(cameraEye.y, 300.0f);
    Update(-400, 800, 50);
    EXPECT_EQ(glm::vec3(cameraEye.x, cameraEye.y, cameraEye.z), glm::vec3(2600, 800, 250));
    ExpectNear(InView({2600, 800, 250}), {0, 0, 0}, 1e-3f);
}

}  // namespace
