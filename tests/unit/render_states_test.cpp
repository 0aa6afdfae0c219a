// The fixed device states, the lights, the camera and the matrix functions they are built with.
#include "render/render_states.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/recording_device.h"
#include "render/camera.h"

namespace {

// Applies a row-vector matrix to a point, as the device does.
glm::vec3 Apply(const Matrix& m, glm::vec3 p) {
    glm::vec4 r = m * glm::vec4(p, 1.0f);
    return glm::vec3(r) / r.w;
}

void ExpectMatrix(const Matrix& actual, const float (&expected)[4][4], float tolerance = 1e-5f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(actual[r][c], expected[r][c], tolerance) << "_" << r + 1 << c + 1;
}

TEST(MatrixFunctions, RotationsAndTranslationHaveTheRowVectorLayout) {
    float a = 0.3f, c = std::cos(a), s = std::sin(a);
    // _rc of the row-vector matrices, as the original library documents them.
    const float x[4][4] = {{1, 0, 0, 0}, {0, c, s, 0}, {0, -s, c, 0}, {0, 0, 0, 1}};
    const float y[4][4] = {{c, 0, -s, 0}, {0, 1, 0, 0}, {s, 0, c, 0}, {0, 0, 0, 1}};
    const float z[4][4] = {{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const float t[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {4, 5, 6, 1}};
    ExpectMatrix(D3DXMatrixRotationX(a), x);
    ExpectMatrix(D3DXMatrixRotationY(a), y);
    ExpectMatrix(D3DXMatrixRotationZ(a), z);
    ExpectMatrix(D3DXMatrixTranslation(4, 5, 6), t);

    // In the left-handed frame a quarter turn about Y takes +Z to +X, about Z takes +X to +Y.
    glm::vec3 turned = Apply(D3DXMatrixRotationY(1.5707964f), {0, 0, 1});
    EXPECT_NEAR(turned.x, 1.0f, 1e-6f);
    EXPECT_NEAR(turned.z, 0.0f, 1e-6f);
    turned = Apply(D3DXMatrixRotationZ(1.5707964f), {1, 0, 0});
    EXPECT_NEAR(turned.y, 1.0f, 1e-6f);
}

TEST(MatrixFunctions, MultiplyAppliesTheLeftMatrixFirst) {
    Matrix moveThenTurn =
        D3DXMatrixMultiply(D3DXMatrixTranslation(1, 2, 3), D3DXMatrixRotationZ(1.5707964f));
    glm::vec3 p = Apply(moveThenTurn, {0, 0, 0});
    EXPECT_NEAR(p.x, -2.0f, 1e-5f);
    EXPECT_NEAR(p.y, 1.0f, 1e-5f);
    EXPECT_NEAR(p.z, 3.0f, 1e-5f);
}

TEST(MatrixFunctions, PerspectiveFovLHMapsDepthToZeroOne) {
    float yScale = 1.0f / std::tan(0.7853981f / 2);
    float q = 30000.0f / (30000.0f - 10.0f);
    const float expected[4][4] = {
        {yScale / 1.3333334f, 0, 0, 0}, {0, yScale, 0, 0}, {0, 0, q, 1}, {0, 0, -10.0f * q, 0}};
    Matrix m = D3DXMatrixPerspectiveFovLH(0.7853981f, 1.3333334f, 10.0f, 30000.0f);
    ExpectMatrix(m, expected, 1e-3f);
    EXPECT_NEAR(Apply(m, {0, 0, 10}).z, 0.0f, 1e-6f);
    EXPECT_NEAR(Apply(m, {0, 0, 30000}).z, 1.0f, 1e-6f);
}

TEST(MatrixFunctions, LookAtLHFromTheSide) {
    // The game's camera: at +X looking along -X; world +Z comes out as view +X (screen right).
    const float expected[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {-201, -500, 3000, 1}};
    ExpectMatrix(D3DXMatrixLookAtLH({3000, 500, 201}, {0, 500, 201}, {0, 1, 0}), expected);
}

class RenderStateTest : public ::testing::Test {
  protected:
    RecordingDevice recorder;
    void SetUp() override { device = &recorder; }
    void TearDown() override { device = nullptr; }
};

TEST_F(RenderStateTest, FixedStatesAreSetOnceInTheirOrder) {
    InitRenderStates();
    struct Expected {
        const char* op;
        std::vector<uint32_t> ints;
    };
    const Expected expected[] = {
        {"SetRenderState", {D3DRS_SHADEMODE, D3DSHADE_GOURAUD}},
        {"SetRenderState", {D3DRS_CULLMODE, D3DCULL_NONE}},
        {"SetRenderState", {D3DRS_NORMALIZENORMALS, TRUE}},
        {"SetTextureStageState", {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE}},
        {"SetTextureStageState", {0, D3DTSS_COLORARG1, D3DTA_TEXTURE}},
        {"SetTextureStageState", {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE}},
        {"SetSamplerState", {0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP}},
        {"SetSamplerState", {0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP}},
        {"SetRenderState", {D3DRS_ALPHATESTENABLE, TRUE}},
        {"SetRenderState", {D3DRS_ALPHABLENDENABLE, TRUE}},
        {"SetRenderState", {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA}},
        {"SetRenderState", {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}},
        {"SetRenderState", {D3DRS_ZENABLE, D3DZB_TRUE}},
        {"SetRenderState", {D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL}},
        {"SetRenderState", {D3DRS_ALPHAREF, 128}},
    };
    ASSERT_EQ(recorder.calls.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(recorder.calls[i].op, expected[i].op) << "call " << i;
        EXPECT_EQ(recorder.calls[i].ints, expected[i].ints) << "call " << i;
    }
}

TEST_F(RenderStateTest, ThreeWhiteDirectionalLightsWithUnnormalisedDirections) {
    InitLights();
    ASSERT_EQ(recorder.calls.size(), 6u);
    const D3DVECTOR directions[] = {{1, -1, 0.5f}, {-1, -1, 0.5f}, {0, -1, -0.5f}};
    for (uint32_t i = 0; i < 3; ++i) {
        const DeviceCall& set = recorder.calls[2 * i];
        const DeviceCall& enable = recorder.calls[2 * i + 1];
        ASSERT_EQ(set.op, "SetLight");
        EXPECT_EQ(set.ints, std::vector<uint32_t>{i});
        EXPECT_EQ(enable.op, "LightEnable");
        EXPECT_EQ(enable.ints, (std::vector<uint32_t>{i, 1}));
        const D3DLIGHT9& l = set.light;
        EXPECT_EQ(l.type, D3DLIGHT_DIRECTIONAL);
        EXPECT_EQ(l.diffuse.r, 1.0f);
        EXPECT_EQ(l.diffuse.g, 1.0f);
        EXPECT_EQ(l.diffuse.b, 1.0f);
        EXPECT_EQ(l.diffuse.a, 1.0f);
        EXPECT_EQ(l.direction.x, directions[i].x);
        EXPECT_EQ(l.direction.y, directions[i].y);
        EXPECT_EQ(l.direction.z, directions[i].z);
        // Everything else stays zero: no specular or ambient light, no range or attenuation.
        EXPECT_EQ(l.specular.r + l.specular.g + l.specular.b + l.specular.a, 0.0f);
        EXPECT_EQ(l.ambient.r + l.ambient.g + l.ambient.b + l.ambient.a, 0.0f);
        EXPECT_EQ(l.range + l.falloff + l.attenuation0 + l.attenuation1 + l.attenuation2, 0.0f);
        EXPECT_EQ(l.theta + l.phi + l.position.x + l.position.y + l.position.z, 0.0f);
    }
}

class CameraTest : public RenderStateTest {
  protected:
    Matrix projection{1.0f}, view{1.0f};
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
    EXPECT_EQ(cameraEye.x, 3000.0f);
    EXPECT_EQ(cameraEye.y, 500.0f);
    EXPECT_EQ(cameraEye.z, 201.0f);
    glm::vec3 eye = InView({3000, 500, 201});
    EXPECT_NEAR(glm::length(eye), 0.0f, 1e-3f);
    glm::vec3 at = InView({0, 500, 201});  // straight ahead, 3000 away
    EXPECT_NEAR(at.x, 0.0f, 1e-3f);
    EXPECT_NEAR(at.y, 0.0f, 1e-3f);
    EXPECT_NEAR(at.z, 3000.0f, 1e-2f);
    // The course runs left to right and the aircraft sits left of the centre.
    EXPECT_GT(InView({0, 500, 5000}).x, 0.0f);
    glm::vec3 player = Apply(D3DXMatrixMultiply(view, projection), {0, 500, 1});
    EXPECT_LT(player.x, 0.0f);
    EXPECT_NEAR(player.y, 0.0f, 1e-5f);
    EXPECT_GT(player.z, 0.0f);
    EXPECT_LT(player.z, 1.0f);

    const Matrix expected = D3DXMatrixPerspectiveFovLH(0.7853981f, 1.3333334f, 10.0f, 30000.0f);
    EXPECT_EQ(projection, expected);
}

TEST_F(CameraTest, EyeNeverGoesBelowThreeHundredAndFollowsTheSidewaysPosition) {
    Update(0, 120, 1);
    EXPECT_EQ(cameraEye.y, 300.0f);
    glm::vec3 at = InView({0, 120, 201});  // still looks at the aircraft's own height: below
    EXPECT_NEAR(at.x, 0.0f, 1e-3f);
    EXPECT_NEAR(at.y, 0.0f, 1e-3f);
    EXPECT_GT(InView({0, 300, 201}).y, 0.0f);  // the eye's own height shows above the centre

    Update(0, 300, 1);
    EXPECT_EQ(cameraEye.y, 300.0f);
    Update(-400, 800, 50);
    EXPECT_EQ(cameraEye.x, 2600.0f);
    EXPECT_EQ(cameraEye.y, 800.0f);
    EXPECT_EQ(cameraEye.z, 250.0f);
    EXPECT_NEAR(glm::length(InView({2600, 800, 250})), 0.0f, 1e-3f);
}

}  // namespace
