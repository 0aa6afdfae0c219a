// Images decoded ahead on a second thread come out as a direct decode of the file gives them,
// failures included, whether they are asked for before, during or after their decoding.
#include <gtest/gtest.h>

#include "platform/core/image_file.h"
#include "tests/unit/render_test_files.h"

namespace {

// The prefetch starts once per process, so this is the only test that starts it.
TEST(ImagePrefetch, EachFileComesOutAsADirectDecodeWhenEverItIsAskedFor) {
    ScratchFolder folder;
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i) {
        Picture picture(8 + i * 7, 5 + i * 3, 0x10203040u * uint32_t(i + 1) | 0xff);
        picture.Set(i % 8, 0, 0xff0000ff);
        paths.push_back("data/image" + std::to_string(i) + ".png");
        WritePicture(paths.back(), picture);
    }
    WriteText("data/noise.png", "not an image at all");
    WriteText("data/empty.png", "");
    paths.insert(paths.begin() + 20, {"data/noise.png", "data/empty.png"});
    std::vector<std::optional<Image>> expected;
    for (const std::string& path : paths) expected.push_back(DecodeFile(path));

    PrefetchImages(paths);
    PrefetchImages({"data/image1.png"});  // a second call changes nothing
    // Last first: some are still waiting, one may be in hand, the rest done.
    for (size_t i = paths.size(); i-- > 0;) {
        std::optional<Image> got = LoadImageFile(paths[i]);
        ASSERT_EQ(got.has_value(), expected[i].has_value()) << paths[i];
        if (!got) continue;
        EXPECT_EQ(got->width, expected[i]->width) << paths[i];
        EXPECT_EQ(got->height, expected[i]->height) << paths[i];
        EXPECT_EQ(got->rgba, expected[i]->rgba) << paths[i];
    }
    // Taken once, an image is decoded afresh the next time.
    std::optional<Image> again = LoadImageFile(paths[3]);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->rgba, expected[3]->rgba);
    EXPECT_FALSE(LoadImageFile("data/absent.png").has_value());
}

}  // namespace
