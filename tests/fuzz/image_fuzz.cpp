// libFuzzer target: image decoding on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "platform/core/image_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (auto image = LoadImageMemory(data, size)) {
        if (image->rgba.size() != static_cast<size_t>(image->width) * image->height * 4)
            __builtin_trap();
    }
    return 0;
}
