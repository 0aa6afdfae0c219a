#include "app/screen_sprites.h"

#include <string>

#include "platform/device.h"
#include "render/quads.h"

using namespace dev;

namespace {

constexpr int ImageCount = 16;
// In loading order; slots 6 to 15 are the digits 0 to 9.
const char* const ImageFiles[ImageCount] = {
    "data/title.png", "data/gamestart.png", "data/gameover.png", "data/gameselect.png",
    "data/life.png",  "data/range.png",     "data/0.png",        "data/1.png",
    "data/2.png",     "data/3.png",         "data/4.png",        "data/5.png",
    "data/6.png",     "data/7.png",         "data/8.png",        "data/9.png",
};
constexpr int FirstDigitSlot = 6;

ImageIds ScreenImages() {
    static const ImageIds ids = RegisterImageFiles(ImageFiles, ImageCount);
    return ids;
}

int SlotOf(int32_t code) {
    if (code >= GameStart && code <= Range) return code;
    if (code >= Digit0 && code <= Digit0 + 9) return FirstDigitSlot + (code - Digit0);
    return Title;
}

constexpr float DigitsX = 170.0f;
constexpr float DigitsY = 440.0f;
constexpr float DigitSpacing = 50.0f;

}  // namespace

std::vector<std::string> GameImageFiles() {
    std::vector<std::string> files(std::begin(ImageFiles), std::end(ImageFiles));
    files.insert(files.end(), std::begin(WorldTextureFiles), std::end(WorldTextureFiles));
    return files;
}

void EnsureScreenImages() {
    device->ScreenSprite();
    device->MakeImages(ScreenImages());
}

void DrawScreenSprite(int32_t code, float x, float y) {
    EnsureScreenImages();
    Texture* image = device->MadeImage(ScreenImages()[SlotOf(code)]);
    Sprite* screenSprite = device->ScreenSprite();
    // An image that failed to load has no size to ask and nothing to draw: it is skipped.
    if (image == nullptr || screenSprite == nullptr) return;
    D3DVECTOR centre{static_cast<float>(image->width) * 0.5f,
                     static_cast<float>(image->height) * 0.5f, 0.0f};
    Matrix transform = D3DXMatrixRotationZ(0.0f);
    transform[3][0] = x;  // the translation row
    transform[3][1] = y;
    screenSprite->SetTransform(transform);
    screenSprite->Begin(0);
    screenSprite->Draw(image, centre, 0xFFFFFFFFu);
    screenSprite->End();
}

void DrawNumber(int32_t n) {
    // The display only ever passes a count of 0 or more; a negative one draws nothing.
    if (n < 0) return;
    std::string digits = std::to_string(n);
    for (size_t i = 0; i < digits.size(); ++i)
        DrawScreenSprite(Digit0 + (digits[i] - '0'), DigitsX + DigitSpacing * static_cast<float>(i),
                         DigitsY);
}
