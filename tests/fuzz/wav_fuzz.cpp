// libFuzzer target: the sound file reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    if (auto sound = ParseWav(data, size, error)) {
        // What it accepts is no more than the file holds.
        if (sound->rate <= 0 || sound->samples.size() * 2 > size) __builtin_trap();
    } else if (error.empty()) {
        __builtin_trap();  // a refusal always says why
    }
    return 0;
}
