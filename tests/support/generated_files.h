// The committed art and sounds are what their generators make: nobody has edited them by hand,
// the generator has not drifted since it was last run, and data/ holds no stray outputs of an
// older one.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Runs `generator` into a fresh folder: it must write exactly `names`, each byte for byte as in
// `data`.
inline void ExpectRegeneratedAsCommitted(const std::string& generator,
                                         const std::filesystem::path& data,
                                         const std::vector<std::string>& names) {
    namespace fs = std::filesystem;
    std::string folder = (fs::temp_directory_path() / "marvaze-generated-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string command = "\"" + generator + "\" \"" + folder + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    auto bytes = [](const fs::path& path) {
        std::ostringstream all;
        all << std::ifstream(path, std::ios::binary).rdbuf();
        return all.str();
    };
    for (const std::string& name : names) {
        const std::string made = bytes(folder / fs::path(name));
        EXPECT_FALSE(made.empty()) << name << ": the generator did not write it";
        EXPECT_TRUE(made == bytes(data / name))
            << "data/" << name << " differs from the generator's output; rerun "
            << fs::path(generator).filename();
    }
    size_t written = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        written += entry.is_regular_file();
    EXPECT_EQ(written, names.size());
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
