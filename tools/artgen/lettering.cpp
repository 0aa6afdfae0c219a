#include "lettering.h"

#include <stb/stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

struct FontFace {
    std::vector<unsigned char> bytes;
    stbtt_fontinfo info{};
};

Font load_font(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    auto face = std::make_shared<FontFace>();
    face->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (face->bytes.empty() || !stbtt_InitFont(&face->info, face->bytes.data(),
                                               stbtt_GetFontOffsetForIndex(face->bytes.data(), 0)))
        return {};
    return {face};
}

bool loaded(const Font& font) { return font.face != nullptr; }

namespace {

// Font units -> fine cells, chosen so a capital H is `cap` drawing units tall.
float cell_scale(const Font& font, float cap, const Canvas& canvas) {
    int x0, y0, x1, y1;
    stbtt_GetCodepointBox(&font.face->info, 'H', &x0, &y0, &x1, &y1);
    return cap * std::abs(canvas.to_cells.e) / static_cast<float>(y1 - y0);
}

// Walks the glyphs: visit(codepoint, pen_x_in_cells) with kerning and tracking applied.
template <typename Visit>
void walk(const Font& font, std::string_view text, float scale, float tracking_cells, Visit visit) {
    float pen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const int cp = static_cast<unsigned char>(text[i]);
        visit(cp, pen);
        int advance, bearing;
        stbtt_GetCodepointHMetrics(&font.face->info, cp, &advance, &bearing);
        pen += advance * scale + tracking_cells;
        if (i + 1 < text.size())
            pen += scale * stbtt_GetCodepointKernAdvance(&font.face->info, cp,
                                                         static_cast<unsigned char>(text[i + 1]));
    }
}

}  // namespace

TextBox measure_text(const Font& font, std::string_view text, float cap, float tracking,
                     const Canvas& canvas) {
    const float scale = cell_scale(font, cap, canvas);
    const float kx = std::abs(canvas.to_cells.a), ky = std::abs(canvas.to_cells.e);
    TextBox box{1e9f, 1e9f, -1e9f, -1e9f};
    walk(font, text, scale, tracking * kx, [&](int cp, float pen) {
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBoxSubpixel(&font.face->info, cp, scale, scale,
                                            pen - std::floor(pen), 0, &x0, &y0, &x1, &y1);
        if (x1 <= x0) return;  // a space
        box.x0 = std::min(box.x0, (std::floor(pen) + x0) / kx);
        box.x1 = std::max(box.x1, (std::floor(pen) + x1) / kx);
        box.y0 = std::min(box.y0, y0 / ky);
        box.y1 = std::max(box.y1, y1 / ky);
    });
    return box;
}

void add_text(Mask& mask, const Canvas& canvas, const Font& font, std::string_view text, float cap,
              float tracking, Vec2 pen_units) {
    const float scale = cell_scale(font, cap, canvas);
    const Vec2 start = apply(canvas.to_cells, pen_units);
    const int base_y = static_cast<int>(std::lround(start.y));
    walk(font, text, scale, tracking * std::abs(canvas.to_cells.a), [&](int cp, float pen) {
        const float x = start.x + pen;
        const int ix = static_cast<int>(std::floor(x));
        int w = 0, h = 0, xoff = 0, yoff = 0;
        unsigned char* bitmap = stbtt_GetCodepointBitmapSubpixel(
            &font.face->info, scale, scale, x - ix, 0, cp, &w, &h, &xoff, &yoff);
        for (int gy = 0; gy < h; ++gy)
            for (int gx = 0; gx < w; ++gx) {
                const int mx = ix + xoff + gx, my = base_y + yoff + gy;
                if (mx < 0 || my < 0 || mx >= mask.width || my >= mask.height) continue;
                float& m = mask.v[static_cast<size_t>(my) * mask.width + mx];
                m = std::max(m, bitmap[gy * w + gx] / 255.0f);
            }
        stbtt_FreeBitmap(bitmap, nullptr);
    });
}

void add_text_centred(Mask& mask, const Canvas& canvas, const Font& font, std::string_view text,
                      float cap, float tracking, Vec2 centre) {
    const TextBox box = measure_text(font, text, cap, tracking, canvas);
    add_text(mask, canvas, font, text, cap, tracking,
             {centre.x - (box.x0 + box.x1) / 2, centre.y - (box.y0 + box.y1) / 2});
}
