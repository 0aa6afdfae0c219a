// The Windows program's icon: the badge at the sizes the title bar, the taskbar and Explorer ask
// for, each kept as a PNG inside the .ico, as Windows reads them since Vista.
#include <stb/stb_image_write.h>

#include <cstdint>
#include <vector>

#include "art.h"

namespace {

void Append(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

void Collect(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
}

}  // namespace

std::string draw_windows_icon() {
    const int sizes[] = {16, 32, 48, 256};
    std::vector<std::string> pngs;
    for (int size : sizes) {
        const Image badge = draw_badge(size);
        std::string& png = pngs.emplace_back();
        stbi_write_png_to_func(Collect, &png, badge.width, badge.height, 4, badge.rgba.data(),
                               badge.width * 4);
    }
    std::string ico;
    Append(ico, 0, 2);  // reserved
    Append(ico, 1, 2);  // an icon, not a cursor
    Append(ico, static_cast<uint32_t>(pngs.size()), 2);
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(pngs.size());
    for (size_t i = 0; i < pngs.size(); ++i) {
        Append(ico, sizes[i] % 256, 1);  // width and height; 0 means 256
        Append(ico, sizes[i] % 256, 1);
        Append(ico, 0, 1);   // no palette
        Append(ico, 0, 1);   // reserved
        Append(ico, 1, 2);   // planes
        Append(ico, 32, 2);  // bits per pixel
        Append(ico, static_cast<uint32_t>(pngs[i].size()), 4);
        Append(ico, offset, 4);
        offset += static_cast<uint32_t>(pngs[i].size());
    }
    for (const std::string& png : pngs) ico += png;
    return ico;
}
