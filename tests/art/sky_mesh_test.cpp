// The sky mesh, read by the game's own .x reader, and written so that strict readers take it too.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <glm/geometric.hpp>
#include <numbers>
#include <string>

#include "art_files.h"
#include "platform/core/xfile.h"

using namespace dev;

namespace {

class SkyMeshFile : public ::testing::Test {
  protected:
    void SetUp() override {
        text = read_bytes(data_path("sky.x"));
        ASSERT_EQ(text.rfind("xof 0303txt 0032", 0), 0u) << "not a text .x file";
        std::string error;
        ASSERT_TRUE(ParseXText(text, mesh, error)) << error;
    }
    std::string text;
    XMeshData mesh;
};

}  // namespace

// Some readers reject `1` where `1.0` is meant. Integers (counts and indices) carry no point, so
// with every float written with one, the dotted numbers are exactly the floats the file declares:
// three per position and normal, two per texture coordinate, eleven per material.
TEST_F(SkyMeshFile, EveryFloatHasADecimalPoint) {
    // The count that opens a block: the first number after "Block ... {".
    auto declared = [&](const std::string& block) {
        const size_t at = text.find(block + " ");
        const size_t brace = text.find('{', at);
        if (at == std::string::npos || brace == std::string::npos) return 0ul;
        return std::strtoul(text.c_str() + brace + 1, nullptr, 10);
    };
    size_t dotted = 0;
    std::string token;
    for (char ch : text + "\n") {
        if (std::isdigit(static_cast<unsigned char>(ch)) || ch == '.' || ch == '-') {
            token += ch;
            continue;
        }
        if (token.find('.') != std::string::npos &&
            token.find_first_of("0123456789") != std::string::npos)
            ++dotted;
        token.clear();
    }
    EXPECT_GT(declared("Mesh"), 0ul);
    EXPECT_EQ(dotted, declared("Mesh") * 3 + declared("MeshNormals") * 3 +
                          declared("MeshTextureCoords") * 2 + mesh.materials.size() * 11);
}

// The texture's rows are painted for v = 0 at the zenith and v = 0.5 on the horizon.
TEST_F(SkyMeshFile, IsAModestSphereInsideTheFarPlaneFacingTheEyeTexturedByElevation) {
    ASSERT_GT(mesh.vertices.size(), 100u);
    EXPECT_LT(mesh.vertices.size(), 5000u);
    ASSERT_EQ(mesh.subsets.size(), 1u);
    EXPECT_GT(mesh.subsets[0].size(), 0u);
    double lowest = 0, highest = 0;
    for (const XVertex& v : mesh.vertices) {
        const double r = glm::length(glm::dvec3(v.position));
        ASSERT_GT(r, 27000.0);
        ASSERT_LT(r, 29900.0);  // the far plane is at 30000
        EXPECT_NEAR(glm::length(v.normal), 1.0, 1e-3);
        EXPECT_LT(glm::dot(glm::dvec3(v.position), glm::dvec3(v.normal)) / r, -0.99);  // inward
        EXPECT_NEAR(v.uv.y, 0.5 - std::asin(v.position.y / r) / std::numbers::pi, 1e-3);
        EXPECT_TRUE(v.uv.x >= 0.0 && v.uv.x <= 1.0);
        lowest = std::min(lowest, v.position.y / r);
        highest = std::max(highest, v.position.y / r);
    }
    EXPECT_GT(highest, 0.99);  // covers straight up...
    EXPECT_LT(lowest, -0.99);  // ...and straight down
}

TEST_F(SkyMeshFile, MaterialShowsTheOpaqueTextureEvenly) {
    ASSERT_EQ(mesh.materials.size(), 1u);
    const D3DMATERIAL9& m = mesh.materials[0].matD3D;
    EXPECT_EQ(m.diffuse.a, 1.0f);  // the pixel alpha is texture alpha times this
    // Emission carries the colour; lit diffuse stays small so the lights cannot streak it.
    const float diffuse[3] = {m.diffuse.r, m.diffuse.g, m.diffuse.b};
    const float emissive[3] = {m.emissive.r, m.emissive.g, m.emissive.b};
    for (int c = 0; c < 3; ++c) {
        EXPECT_GE(emissive[c] + diffuse[c], 0.8f);
        EXPECT_LE(diffuse[c], 0.3f);
    }
    ASSERT_TRUE(mesh.materials[0].textureFilename.has_value());
    EXPECT_TRUE(std::filesystem::exists(data_path(*mesh.materials[0].textureFilename)));
}
