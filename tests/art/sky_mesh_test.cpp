// The sky mesh, read the way a strict .x text reader would: every count must match what
// follows it and every float must carry a decimal point.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "art_files.h"

namespace {

struct Reader {
    std::vector<std::string> tokens;
    size_t at = 0;
    std::vector<std::string> problems;

    const std::string& next() {
        static const std::string end;
        return at < tokens.size() ? tokens[at++] : end;
    }
    void expect(const std::string& word) {
        const std::string got = next();
        if (got != word) problems.push_back("expected " + word + ", got '" + got + "'");
    }
    long integer() {
        const std::string t = next();
        if (t.empty() || t.find_first_not_of("0123456789") != std::string::npos)
            problems.push_back("expected an integer, got '" + t + "'");
        return t.empty() ? 0 : std::strtol(t.c_str(), nullptr, 10);
    }
    double real() {
        const std::string t = next();
        if (t.find('.') == std::string::npos) problems.push_back("float without a point: " + t);
        char* end = nullptr;
        const double v = std::strtod(t.c_str(), &end);
        if (t.empty() || *end != '\0') problems.push_back("not a number: '" + t + "'");
        return v;
    }
};

// Splits on whitespace and the list punctuation; braces and quoted names stay as tokens.
Reader tokenise(const std::string& text) {
    Reader r;
    std::string word;
    auto flush = [&] {
        if (!word.empty()) r.tokens.push_back(word);
        word.clear();
    };
    for (char ch : text) {
        if (ch == ';' || ch == ',' || std::isspace(static_cast<unsigned char>(ch))) {
            flush();
        } else if (ch == '{' || ch == '}') {
            flush();
            r.tokens.push_back(std::string(1, ch));
        } else {
            word += ch;
        }
    }
    flush();
    return r;
}

struct Vec3 {
    double x, y, z;
};

struct SkyMesh {
    std::vector<Vec3> positions, normals;
    std::vector<std::vector<long>> faces, normal_faces;
    std::vector<std::pair<double, double>> uvs;
    long materials = 0;
    std::vector<long> face_materials;
    double diffuse[4] = {}, emissive[3] = {};
    std::string texture;
};

std::vector<std::vector<long>> read_faces(Reader& r) {
    std::vector<std::vector<long>> faces(static_cast<size_t>(r.integer()));
    for (auto& f : faces) {
        f.resize(static_cast<size_t>(r.integer()));
        for (long& i : f) i = r.integer();
    }
    return faces;
}

SkyMesh read_sky(Reader& r) {
    SkyMesh m;
    r.expect("xof");
    r.expect("0303txt");
    r.expect("0032");
    r.expect("Mesh");
    if (r.tokens[r.at] != "{") r.next();  // optional name
    r.expect("{");
    m.positions.resize(static_cast<size_t>(r.integer()));
    for (Vec3& p : m.positions) p = {r.real(), r.real(), r.real()};
    m.faces = read_faces(r);
    r.expect("MeshNormals");
    r.expect("{");
    m.normals.resize(static_cast<size_t>(r.integer()));
    for (Vec3& n : m.normals) n = {r.real(), r.real(), r.real()};
    m.normal_faces = read_faces(r);
    r.expect("}");
    r.expect("MeshTextureCoords");
    r.expect("{");
    m.uvs.resize(static_cast<size_t>(r.integer()));
    for (auto& uv : m.uvs) uv = {r.real(), r.real()};
    r.expect("}");
    r.expect("MeshMaterialList");
    r.expect("{");
    m.materials = r.integer();
    m.face_materials.resize(static_cast<size_t>(r.integer()));
    for (long& i : m.face_materials) i = r.integer();
    r.expect("Material");
    r.expect("{");
    for (double& d : m.diffuse) d = r.real();
    r.real();  // specular power
    for (int i = 0; i < 3; ++i) r.real();
    for (double& e : m.emissive) e = r.real();
    r.expect("TextureFilename");
    r.expect("{");
    m.texture = r.next();
    for (int i = 0; i < 4; ++i) r.expect("}");
    return m;
}

class SkyMeshFile : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string text = read_bytes(data_path("sky.x"));
        ASSERT_EQ(text.rfind("xof 0303txt 0032", 0), 0u) << "not a text .x file";
        reader = tokenise(text);
        mesh = read_sky(reader);
        ASSERT_TRUE(reader.problems.empty()) << reader.problems.front();
        ASSERT_EQ(reader.at, reader.tokens.size()) << "unread text after the mesh";
    }
    Reader reader;
    SkyMesh mesh;
};

}  // namespace

TEST_F(SkyMeshFile, CountsAndIndicesAgree) {
    const size_t n = mesh.positions.size();
    EXPECT_GT(n, 100u);
    EXPECT_LT(n, 5000u);  // modest
    EXPECT_EQ(mesh.normals.size(), n);
    EXPECT_EQ(mesh.uvs.size(), n);
    EXPECT_EQ(mesh.normal_faces, mesh.faces);
    for (const auto& f : mesh.faces) {
        ASSERT_EQ(f.size(), 3u);
        for (long i : f) ASSERT_LT(static_cast<size_t>(i), n);
    }
    EXPECT_EQ(mesh.materials, 1);
    EXPECT_EQ(mesh.face_materials.size(), mesh.faces.size());
    for (long i : mesh.face_materials) EXPECT_EQ(i, 0);
}

TEST_F(SkyMeshFile, IsASphereInsideTheFarPlaneFacingTheEye) {
    double lowest = 0, highest = 0;
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        const Vec3 p = mesh.positions[i], n = mesh.normals[i];
        const double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        ASSERT_GT(r, 27000.0);
        ASSERT_LT(r, 29900.0);  // the far plane is at 30000
        EXPECT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0, 1e-3);
        EXPECT_LT((p.x * n.x + p.y * n.y + p.z * n.z) / r, -0.99);  // inward
        lowest = std::min(lowest, p.y / r);
        highest = std::max(highest, p.y / r);
    }
    EXPECT_GT(highest, 0.99);  // covers straight up...
    EXPECT_LT(lowest, -0.99);  // ...and straight down
}

// The texture's rows are painted for v = 0 at the zenith and v = 0.5 on the horizon.
TEST_F(SkyMeshFile, TextureRowsFollowElevation) {
    const double pi = std::numbers::pi;
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        const Vec3 p = mesh.positions[i];
        const double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        const auto [u, v] = mesh.uvs[i];
        EXPECT_GE(u, 0.0);
        EXPECT_LE(u, 1.0);
        EXPECT_NEAR(v, 0.5 - std::asin(p.y / r) / pi, 1e-3);
    }
}

TEST_F(SkyMeshFile, MaterialShowsTheOpaqueTextureEvenly) {
    EXPECT_EQ(mesh.diffuse[3], 1.0);  // the pixel alpha is texture alpha times this
    // Emission carries the colour; lit diffuse stays small so the lights cannot streak it.
    for (int c = 0; c < 3; ++c) {
        EXPECT_GE(mesh.emissive[c] + mesh.diffuse[c], 0.8);
        EXPECT_LE(mesh.diffuse[c], 0.3);
    }
    ASSERT_GE(mesh.texture.size(), 2u);
    const std::string name = mesh.texture.substr(1, mesh.texture.size() - 2);
    EXPECT_EQ(mesh.texture.front(), '"');
    EXPECT_TRUE(std::filesystem::exists(data_path(name))) << name;
}
