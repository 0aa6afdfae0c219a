// The image reader on PNGs of every colour type and depth: an interlaced image decodes to the
// same pixels as its plain twin (made by another encoder), so no layout is refused as too short
// or too long. And on a stream that copies from a distance deflate does not have.
#include "platform/core/image_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "tests/unit/render_test_files.h"

namespace fs = std::filesystem;

namespace {

TEST(ImageFile, InterlacedImagesDecodeAsTheirPlainTwins) {
    fs::path folder = fs::path(MARVAZE_SOURCE_DIR) / "tests/fuzz/corpus/image";
    int pairs = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        size_t suffix = name.find("-interlaced.png");
        if (suffix == std::string::npos) continue;
        std::optional<Image> interlaced = DecodeFile(entry.path().string());
        std::optional<Image> plain =
            DecodeFile((folder / (name.substr(0, suffix) + ".png")).string());
        ASSERT_TRUE(interlaced && plain) << name;
        EXPECT_EQ(interlaced->width, plain->width) << name;
        EXPECT_EQ(interlaced->rgba, plain->rgba) << name;
        ++pairs;
    }
    EXPECT_GT(pairs, 0);
}

// Its copies are of bytes never written: the same pixels whatever the heap held before.
TEST(ImageFile, ACopyFromAnInvalidDistanceGivesTheSamePixelsWhateverTheHeapHeld) {
    fs::path path =
        fs::path(MARVAZE_SOURCE_DIR) / "tests/fuzz/regressions/image/distance-code-30.png";
    std::vector<std::vector<uint8_t>> decoded;
    for (int dirt : {0x55, 0xaa}) {
        // Blocks of the size the reader asks for, filled and given back for it to reuse.
        void* blocks[8];
        for (void*& block : blocks) block = std::memset(std::malloc(41), dirt, 41);
        for (void* block : blocks) std::free(block);
        std::optional<Image> image = DecodeFile(path.string());
        ASSERT_TRUE(image);
        decoded.push_back(image->rgba);
    }
    EXPECT_EQ(decoded[0], decoded[1]);
}

}  // namespace
