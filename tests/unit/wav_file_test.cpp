// The sound reader takes exactly the files the generator writes and refuses the rest without
// reading past the bytes it was given.
#include "platform/core/wav_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void Put(std::string& s, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xff);
}

// A file as the generator lays it out.
std::string Wav(const std::vector<int16_t>& samples, uint32_t rate = 22050, int channels = 1,
                int bits = 16) {
    const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
    std::string s = "RIFF";
    Put(s, 36 + data, 4);
    s += "WAVEfmt ";
    Put(s, 16, 4);
    Put(s, 1, 2);
    Put(s, channels, 2);
    Put(s, rate, 4);
    Put(s, rate * channels * bits / 8, 4);
    Put(s, channels * bits / 8, 2);
    Put(s, bits, 2);
    s += "data";
    Put(s, data, 4);
    for (int16_t v : samples) Put(s, static_cast<uint16_t>(v), 2);
    return s;
}

std::optional<WavSound> Parse(const std::string& bytes) {
    std::string error;
    return ParseWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), error);
}

TEST(WavFile, ReadsOurFormatAndRefusesEveryOther) {
    const std::optional<WavSound> good = Parse(Wav({0, -32768, 32767, 5}));
    ASSERT_TRUE(good.has_value());
    EXPECT_EQ(good->rate, 22050);
    EXPECT_EQ(good->samples, (std::vector<int16_t>{0, -32768, 32767, 5}));

    EXPECT_FALSE(Parse(Wav({1, 2}, 22050, 2)));     // stereo
    EXPECT_FALSE(Parse(Wav({1, 2}, 22050, 1, 8)));  // 8-bit
    EXPECT_FALSE(Parse(Wav({1, 2}, 96000)));        // rate out of range
    EXPECT_FALSE(Parse(Wav({})));                   // no samples
    std::string cut = Wav({1, 2, 3});
    EXPECT_FALSE(Parse(cut.substr(0, cut.size() - 1)));  // shorter than it says
    EXPECT_FALSE(Parse(cut + "LIST"));                   // something after the data
    std::string odd = Wav({1, 2});
    odd[40] = 3;  // an odd data length
    EXPECT_FALSE(Parse(odd));
    EXPECT_FALSE(Parse(std::string(MaxWavFileBytes + 2, 'x')));
    EXPECT_FALSE(Parse(""));
}

TEST(WavFile, NoSingleByteOfTheHeaderChangedGetsPastTheChecks) {
    const std::string good = Wav({100, 200, 300, 400, 500, 600});
    for (size_t at = 0; at < 44; ++at)
        for (int value : {0x00, 0x01, 0x7f, 0x80, 0xff}) {
            std::string spoiled = good;
            if (static_cast<uint8_t>(spoiled[at]) == value) continue;
            spoiled[at] = static_cast<char>(value);
            EXPECT_FALSE(Parse(spoiled)) << "byte " << at << " = " << value;
        }
}

}  // namespace
