// The sounds in data/ are what the generator makes, and they are what the game's reader and
// mixer expect: 16-bit mono, short, no clicks at their ends, and a loop without a seam.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/core/wav_file.h"
#include "synth.h"
#include "tests/support/generated_files.h"

namespace fs = std::filesystem;

namespace {

TEST(CommittedSound, RegeneratingGivesTheCommittedBytes) {
    std::vector<std::string> names;
    for (const SoundFile& made : AllSounds()) names.push_back(made.name);
    ExpectRegeneratedAsCommitted(SOUNDGEN_PATH, SOUND_DATA_DIR, names);
}

TEST(CommittedSound, EachReadsBackShortWithoutClicksOrClipping) {
    for (const SoundFile& made : AllSounds()) {
        SCOPED_TRACE(made.name);
        const std::optional<WavSound> sound =
            LoadWavFile((fs::path(SOUND_DATA_DIR) / made.name).string());
        ASSERT_TRUE(sound.has_value());
        EXPECT_EQ(sound->rate, SoundRate);
        const std::vector<int16_t>& s = sound->samples;
        ASSERT_GT(s.size(), 100u);
        EXPECT_LE(s.size(), static_cast<size_t>(2 * SoundRate)) << "longer than two seconds";
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GT(peak, 8000) << "too quiet to hear in a mix";
        EXPECT_LT(peak, 32000) << "touches full scale";
        // Neighbouring samples never jump by much more than the sound itself moves anywhere.
        if (made.name == "engine.wav") {
            int largestStep = 0;
            for (size_t i = 1; i < s.size(); ++i)
                largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
            EXPECT_LE(std::abs(s.front() - s.back()), largestStep) << "the loop has a seam";
        } else {
            // It starts from near silence and ends at silence.
            EXPECT_LT(std::abs(s.front()), 400);
            EXPECT_EQ(s.back(), 0);
        }
    }
}

}  // namespace
