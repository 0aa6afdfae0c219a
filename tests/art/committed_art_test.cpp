// The art in data/ is what the generator makes: nobody has edited it by hand, and the
// generator has not drifted since it was last run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "art_files.h"

namespace fs = std::filesystem;

namespace {

struct ScratchDir {
    fs::path path;
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "marvaze-art-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
};

}  // namespace

TEST(CommittedArt, RegeneratingGivesTheCommittedBytes) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path.empty());
    const std::string command =
        std::string("\"") + ARTGEN_PATH + "\" \"" + scratch.path.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    for (const std::string& name : expected_art_files()) {
        SCOPED_TRACE(name);
        const std::string made = read_bytes((scratch.path / name).string());
        const std::string committed = read_bytes(data_path(name));
        ASSERT_FALSE(made.empty()) << "the generator did not write it";
        ASSERT_FALSE(committed.empty()) << "missing from data/";
        EXPECT_TRUE(made == committed)
            << "data/" << name << " differs from the generator's output; rerun artgen";
    }
    // Nothing else is written, so data/ holds no stray outputs of an older generator.
    size_t written = 0;
    for (const auto& entry : fs::recursive_directory_iterator(scratch.path))
        written += entry.is_regular_file();
    EXPECT_EQ(written, expected_art_files().size());
}
