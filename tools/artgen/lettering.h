// Lettering from the DejaVu fonts via stb_truetype, laid onto a canvas' fine grid.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "raster.h"

struct FontFace;  // the loaded font file and its parsed tables

struct Font {
    std::shared_ptr<FontFace> face;  // empty when the file could not be read
};

Font load_font(const std::string& path);
bool loaded(const Font& font);

// Ink bounds of a line of text in drawing units, relative to the pen start on the baseline.
struct TextBox {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// `cap` is the height of a capital letter in drawing units; `tracking` adds space per letter.
TextBox measure_text(const Font& font, std::string_view text, float cap, float tracking,
                     const Canvas& canvas);
void add_text(Mask& mask, const Canvas& canvas, const Font& font, std::string_view text, float cap,
              float tracking, Vec2 pen);
// Places the text so its ink box is centred on `centre`.
void add_text_centred(Mask& mask, const Canvas& canvas, const Font& font, std::string_view text,
                      float cap, float tracking, Vec2 centre);
