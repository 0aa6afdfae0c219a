// The text .x reader: what it makes of well-formed files, and that malformed ones fail with the
// line named rather than crashing or hanging.
#include "platform/core/xfile.h"

#include <gtest/gtest.h>

using namespace dev;

namespace {

// Two materials (one declared by name), a quad and a triangle, normals shared across faces,
// texture coordinates, unknown objects and a template to skip, all inside a moved frame.
const char* const Sample = R"(xof 0303txt 0032
// a comment
template Unused {
 <12345678-1234-1234-1234-123456789012>
 array FLOAT values[3];
 [...]
}
Header { 1; 0; 1; }
Material Red { 1.0;0.0;0.0;1.0;; 8.0; 0.5;0.5;0.5;; 0.25;0.0;0.0;; }
Frame Root {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 10.0,20.0,30.0,1.0;;
 }
 Mesh Square {
  5; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;0.0;, 2.0;0.0;0.0;;
  2; 4;0,1,2,3;, 3;1,4,2;;
  MeshNormals { 2; 0.0;0.0;-2.0;, 0.0;1.0;0.0;; 2; 4;0,0,0,0;, 3;1,1,1;; }
  MeshTextureCoords { 5; 0.0;1.0;, 1.0;1.0;, 1.0;0.0;, 0.0;0.0;, 0.5;0.5;; }
  VertexDuplicationIndices { 5; 5; 0, 1, 2, 3, 4; }
  MeshMaterialList {
   2; 2; 1, 0;;
   { Red }
   Material Sky {
    0.2;0.4;0.6;0.8;; 1.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;;
    TextureFilename { "sky texture.png"; }
   }
  }
 }
}
)";

XMeshData Parse(const std::string& text) {
    XMeshData mesh;
    std::string error;
    EXPECT_TRUE(ParseXText(text, mesh, error)) << error;
    return mesh;
}

TEST(XFile, ReadsMaterialsInListOrderAndFansFacesIntoOneSubsetPerMaterial) {
    XMeshData mesh = Parse(Sample);
    // The colours each material carries are the sky tests' (render_sky_test and the device cases).
    ASSERT_EQ(mesh.materials.size(), 2u);
    EXPECT_EQ(mesh.materials[1].textureFilename, "sky texture.png");

    // Face 0 (the quad) uses material 1, face 1 (the triangle) material 0. The frame moved
    // everything by (10, 20, 30).
    ASSERT_EQ(mesh.subsets.size(), 2u);
    ASSERT_EQ(mesh.subsets[1].size(), 6u);
    ASSERT_EQ(mesh.subsets[0].size(), 3u);
    auto at = [&](int subset, int i) { return mesh.vertices.at(mesh.subsets[subset][i]); };
    const glm::vec3 quad[6] = {{10, 20, 30}, {11, 20, 30}, {11, 21, 30},
                               {10, 20, 30}, {11, 21, 30}, {10, 21, 30}};
    const glm::vec3 triangle[3] = {{11, 20, 30}, {12, 20, 30}, {11, 21, 30}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(at(1, i).position, quad[i]) << i;
        EXPECT_EQ(at(1, i).normal, glm::vec3(0, 0, -2)) << i;
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(at(0, i).position, triangle[i]) << i;
        EXPECT_EQ(at(0, i).normal, glm::vec3(0, 1, 0)) << i;
    }
    EXPECT_EQ(at(1, 0).uv, glm::vec2(0, 1));
    EXPECT_EQ(at(1, 2).uv, glm::vec2(1, 0));
    EXPECT_EQ(at(0, 1).uv, glm::vec2(0.5f, 0.5f));
    // Positions 1 and 2 carry two normals each, so they become two vertices each.
    EXPECT_EQ(mesh.vertices.size(), 7u);
}

TEST(XFile, NestedFramesApplyTheInnerTransformFirstAndMissingPartsDefault) {
    // Inner: scale x by 2; outer: move x by 5. Row vectors: inner first gives 2x + 5.
    XMeshData mesh = Parse(R"(xof 0303txt 0032
Frame Outer {
 Frame Inner {
  Mesh {
   3; 1.0;0.0;0.0;, 0.0;1.0;0.0;, 0.0;0.0;1.0;;
   1; 3; 0, 1, 2;;
  }
  FrameTransformMatrix { 2.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }
 }
 FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 5.0,0.0,0.0,1.0;; }
}
)");
    ASSERT_EQ(mesh.vertices.size(), 3u);
    EXPECT_EQ(mesh.vertices[0].position, glm::vec3(7, 0, 0));
    EXPECT_EQ(mesh.vertices[1].position, glm::vec3(5, 1, 0));
    // No normals, texture coordinates or material list: zeros and one white material.
    EXPECT_EQ(mesh.vertices[0].normal, glm::vec3(0));
    EXPECT_EQ(mesh.vertices[0].uv, glm::vec2(0));
    ASSERT_EQ(mesh.materials.size(), 1u);
    EXPECT_EQ(mesh.materials[0].matD3D.diffuse.g, 1.0f);
    EXPECT_EQ(mesh.subsets, (std::vector<std::vector<uint32_t>>{{0, 1, 2}}));

    // Fewer face materials than faces: the last one repeats.
    mesh = Parse(R"(xof 0303txt 0032
Mesh {
 4; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;;
 3; 3;0,1,2;, 3;1,3,2;, 3;0,3,1;;
 MeshMaterialList { 2; 2; 0, 1;;
  Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }
  Material { 0.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }
 }
}
)");
    ASSERT_EQ(mesh.subsets.size(), 2u);
    EXPECT_EQ(mesh.subsets[0].size(), 3u);
    EXPECT_EQ(mesh.subsets[1].size(), 6u);
}

TEST(XFile, MalformedFilesFailWithTheLineNamed) {
    const std::string head = "xof 0303txt 0032\n";
    const std::string points = " 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;\n";
    struct Case {
        const char* what;
        std::string text;
        const char* line;
    };
    const Case cases[] = {
        {"not .x", "hello", "line 1:"},
        {"binary", "xof 0303bin 0032", "line 1:"},
        {"no mesh", head + "Material M { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n",
         "line 2:"},
        {"vertex index out of range", head + "Mesh {\n" + points + " 1;\n 3;0,1,3;;\n}\n",
         "line 5:"},
        {"a face of two corners", head + "Mesh {\n" + points + " 1;\n 2;0,1;;\n}\n", "line 5:"},
        {"a count beyond the data", head + "Mesh {\n 4000000000;\n 0.0;0.0;0.0;;\n}\n", "line 3:"},
        {"not a number", head + "Mesh {\n 3; 0.0;0.0;0.0;, 1.0;x;0.0;, 0.0;1.0;0.0;;\n}\n",
         "line 3:"},
        {"a malformed number", head + "Mesh {\n 3; 0.0;0.0;0.0;, 1.0.0;0.0;0.0;, 0;1;0;;\n}\n",
         "line 3:"},
        {"a negative index", head + "Mesh {\n" + points + " 1;\n 3;0,-1,2;;\n}\n", "line 5:"},
        {"normal faces do not match",
         head + "Mesh {\n" + points +
             " 1; 3;0,1,2;;\n MeshNormals {\n 1; 0.0;0.0;1.0;;\n 2; 3;0,0,0;, 3;0,0,0;;\n }\n}\n",
         "line 7:"},
        {"normal index out of range",
         head + "Mesh {\n" + points +
             " 1; 3;0,1,2;;\n MeshNormals { 1; 0.0;0.0;1.0;;\n 1; 3;0,0,1;; }\n}\n",
         "line 6:"},
        {"texture coordinates short",
         head + "Mesh {\n" + points +
             " 1; 3;0,1,2;;\n MeshTextureCoords {\n 2; 0.0;0.0;, 1.0;1.0;; }\n}\n",
         "line 6:"},
        {"material index out of range",
         head + "Mesh {\n" + points +
             " 1; 3;0,1,2;;\n MeshMaterialList { 1; 1;\n 1;;\n"
             " Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }\n}\n",
         "line 6:"},
        {"fewer materials than counted",
         head + "Mesh {\n" + points + " 1; 3;0,1,2;;\n MeshMaterialList { 2; 1;\n 0;;\n }\n}\n",
         "line 5:"},
        {"an unknown material name",
         head + "Mesh {\n" + points + " 1; 3;0,1,2;;\n MeshMaterialList { 1; 1; 0;;\n { Nope }\n",
         "line 6:"},
        {"an unterminated string",
         head + "Material M { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;;\n"
                " TextureFilename { \"sky.png; }\n}\n",
         "line 3:"},
        {"a stray byte", head + "Mesh {\n \x01\n}\n", "line 3:"},
        {"faces with no materials",  // once a crash: they had nowhere to go
         head + "Mesh {\n" + points + " 1; 3;0,1,2;;\n MeshMaterialList { 0; 0; }\n}\n", "line 5:"},
        {"a stray brace", head + "}\n", "line 2:"},
    };
    for (const Case& c : cases) {
        XMeshData mesh;
        std::string error;
        EXPECT_FALSE(ParseXText(c.text, mesh, error)) << c.what;
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << c.what << ": " << error;
        EXPECT_TRUE(mesh.vertices.empty() && mesh.materials.empty()) << c.what;
    }

    // Frames nested without end stop at a depth limit instead of exhausting the stack.
    std::string deep = head;
    for (int i = 0; i < 100000; ++i) deep += "Frame {\n";
    XMeshData mesh;
    std::string error;
    EXPECT_FALSE(ParseXText(deep, mesh, error));
    EXPECT_NE(error.find("nested"), std::string::npos) << error;

    EXPECT_FALSE(ReadXFile("no/such/sky.x", mesh, error));
    EXPECT_NE(error.find("no/such/sky.x"), std::string::npos) << error;

    // Every cut short of the last brace fails; ends after it succeed. (Random changes are the
    // fuzzer's.)
    const std::string sample = Sample;
    for (size_t cut = 0; cut < sample.size(); ++cut) {
        bool ok = ParseXText(sample.substr(0, cut), mesh, error);
        EXPECT_EQ(ok, cut > sample.rfind('}')) << cut;
        if (!ok) {
            EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
        }
    }
}

}  // namespace
