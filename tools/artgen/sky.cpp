// The sky: a sphere around the eye, textured with a vertical gradient. Its material lights it
// by emission alone, so the game's three lights cannot make it patchy.
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <string_view>

#include "art.h"

namespace {

constexpr int kSegments = 32, kRings = 16;
constexpr double kRadius = 29000.0;  // inside the far plane at 30000
constexpr int kTexW = 16, kTexH = 1024;

// Always prints a decimal point; tiny values print as plain zero, never "-0.000".
std::string decimal(double v, int places) {
    const double unit = std::pow(10.0, -places);
    if (std::abs(v) < unit / 2) v = 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", places, v);
    return buf;
}

// Colour of the sky at an elevation in degrees (+90 straight up, -90 straight down).
Rgba sky_colour(float e) {
    const Rgba haze = rgb(206, 224, 238), light = rgb(128, 176, 228), deep = rgb(34, 74, 160);
    if (e >= 0) {
        const Rgba low = mix(haze, light, smoothstep(0, 14, e));
        return mix(low, deep, std::pow(clamp01((e - 8) / 82), 0.75f));
    }
    const Rgba sea_haze = rgb(150, 176, 196), sea_deep = rgb(62, 96, 130);
    return mix(mix(haze, sea_haze, smoothstep(0, -6, e)), sea_deep, smoothstep(-6, -60, e));
}

}  // namespace

Image draw_sky() {
    // Row r covers the elevations of texture v in [r, r+1) / kTexH, the mesh mapping v = 0 to
    // the zenith and v = 1 to the nadir.
    Canvas c = make_canvas(kTexW, kTexH, kTexW, kTexH, 1);
    fill_all(c, [](Vec2 p) { return sky_colour(90.0f - 180.0f * p.y / kTexH); });
    return resolve(c);
}

std::string sky_mesh_text() {
    const double pi = std::numbers::pi;
    struct Vertex {
        double x, y, z, u, v;
    };
    std::vector<Vertex> vertices;
    for (int i = 0; i <= kRings; ++i) {
        const double lat = pi / 2 - pi * i / kRings;
        for (int j = 0; j <= kSegments; ++j) {  // the seam column is doubled for its u = 1
            const double lon = 2 * pi * j / kSegments;
            vertices.push_back({kRadius * std::cos(lat) * std::cos(lon), kRadius * std::sin(lat),
                                kRadius * std::cos(lat) * std::sin(lon),
                                static_cast<double>(j) / kSegments,
                                static_cast<double>(i) / kRings});
        }
    }
    std::vector<std::array<int, 3>> faces;
    auto index = [](int i, int j) { return i * (kSegments + 1) + j; };
    for (int i = 0; i < kRings; ++i)
        for (int j = 0; j < kSegments; ++j) {
            const int a = index(i, j), b = index(i, j + 1), c = index(i + 1, j),
                      d = index(i + 1, j + 1);
            if (i != 0) faces.push_back({a, b, d});  // rings meeting at a pole need one
            if (i != kRings - 1) faces.push_back({a, d, c});
        }

    // Each list: its count, then elements separated by "," and closed by ";".
    std::string out = "xof 0303txt 0032\n\nMesh Sky {\n";
    auto put = [&out](std::initializer_list<std::string_view> parts) {
        for (std::string_view p : parts) out += p;
    };
    auto close = [](size_t k, size_t n) { return k + 1 == n ? ";\n" : ",\n"; };
    auto count = [&](size_t n) { put({" ", std::to_string(n), ";\n"}); };
    count(vertices.size());
    for (size_t k = 0; k < vertices.size(); ++k) {
        const Vertex& v = vertices[k];
        put({" ", decimal(v.x, 3), ";", decimal(v.y, 3), ";", decimal(v.z, 3), ";",
             close(k, vertices.size())});
    }
    auto face_list = [&] {
        count(faces.size());
        for (size_t k = 0; k < faces.size(); ++k)
            put({" 3;", std::to_string(faces[k][0]), ",", std::to_string(faces[k][1]), ",",
                 std::to_string(faces[k][2]), ";", close(k, faces.size())});
    };
    face_list();

    // Normals point inward, at the eye in the middle.
    put({"\n MeshNormals {\n"});
    count(vertices.size());
    for (size_t k = 0; k < vertices.size(); ++k) {
        const Vertex& v = vertices[k];
        put({" ", decimal(-v.x / kRadius, 6), ";", decimal(-v.y / kRadius, 6), ";",
             decimal(-v.z / kRadius, 6), ";", close(k, vertices.size())});
    }
    face_list();
    put({" }\n\n MeshTextureCoords {\n"});
    count(vertices.size());
    for (size_t k = 0; k < vertices.size(); ++k)
        put({" ", decimal(vertices[k].u, 6), ";", decimal(vertices[k].v, 6), ";",
             close(k, vertices.size())});
    put({" }\n\n MeshMaterialList {\n 1;\n"});
    count(faces.size());
    for (size_t k = 0; k < faces.size(); ++k) put({" 0", close(k, faces.size())});
    out +=
        "\n  Material {\n"
        "   0.0;0.0;0.0;1.0;;\n"  // diffuse: unlit, but fully opaque
        "   0.0;\n"               // specular power
        "   0.0;0.0;0.0;;\n"      // specular
        "   1.0;1.0;1.0;;\n"      // emissive: the texture shows as painted
        "   TextureFilename {\n    \"sky.png\";\n   }\n"
        "  }\n }\n}\n";
    return out;
}
