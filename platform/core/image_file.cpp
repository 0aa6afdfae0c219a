#include "platform/core/image_file.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_FAILURE_USERMSG
// The game's images are small; refusing huge ones keeps a bad file from taking all memory.
#define STBI_MAX_DIMENSIONS 4096
// stb_image 2.27 takes the invalid distance codes 30 and 31 as copies of bytes never written:
// its buffers start zeroed, so such a file gives the same pixels every time, never old heap bytes.
#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC_SIZED(p, oldSize, newSize) ReallocZeroed(p, oldSize, newSize)
#define STBI_FREE(p) std::free(p)
#include <cstdlib>
#include <cstring>
static void* ReallocZeroed(void* p, size_t oldSize, size_t newSize) {
    auto* grown = static_cast<unsigned char*>(std::realloc(p, newSize));
    if (grown != nullptr && newSize > oldSize) std::memset(grown + oldSize, 0, newSize - oldSize);
    return grown;
}
#include <stb_image.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "platform/core/regular_file.h"
#include "platform/report.h"

namespace {

uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// What the pixel data of a PNG with this header inflates to: each row's bytes and its filter
// byte, in each of the seven passes when interlaced. 0 for a header stb_image refuses itself.
uint64_t InflatedBytes(const uint8_t* header) {
    uint32_t width = BigEndian32(header), height = BigEndian32(header + 4);
    uint8_t depth = header[8], colour = header[9], interlaced = header[12];
    static const int channelsOf[7] = {1, 0, 3, 1, 2, 0, 4};
    if (width == 0 || height == 0 || width > STBI_MAX_DIMENSIONS || height > STBI_MAX_DIMENSIONS ||
        colour > 6 || channelsOf[colour] == 0 ||
        (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16) || interlaced > 1)
        return 0;
    auto pass = [&](uint64_t w, uint64_t h) {
        return w == 0 || h == 0 ? 0 : h * ((w * channelsOf[colour] * depth + 7) / 8 + 1);
    };
    if (!interlaced) return pass(width, height);
    // Pass p takes every dx-th column from x0 and every dy-th row from y0.
    static const int x0[7] = {0, 4, 0, 2, 0, 1, 0}, dx[7] = {8, 8, 4, 4, 2, 2, 1};
    static const int y0[7] = {0, 0, 4, 0, 2, 0, 1}, dy[7] = {8, 8, 8, 4, 4, 2, 2};
    uint64_t total = 0;
    for (int p = 0; p < 7; ++p)
        total += pass((width + dx[p] - 1 - x0[p]) / dx[p], (height + dy[p] - 1 - y0[p]) / dy[p]);
    return total;
}

// stb_image believes what a PNG claims: it grows a buffer to a chunk's stated length before it
// finds the bytes missing, and inflates into a buffer that doubles for as long as the stream goes
// on. So a PNG is checked here first, with stb's own inflate, rather than decoded by libpng or
// libspng, which the Windows and browser builds would have to carry too: its chunks must lie
// inside the file, and its pixel data must inflate to exactly what its image needs, tried into a
// buffer of that size. Empty when stb_image may go ahead (it refuses what is not a PNG itself).
std::string CheckPng(const uint8_t* bytes, size_t size) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (size < 8 || std::memcmp(bytes, signature, 8) != 0) return "";
    const uint8_t* header = nullptr;
    bool apple = false;  // Apple's "CgBI" PNGs have no zlib header
    std::vector<std::string_view> pieces;
    for (size_t at = 8;; at += 12 + size_t(BigEndian32(bytes + at))) {
        if (at + 8 > size) return "Corrupt PNG: it ends before its last chunk";
        uint32_t length = BigEndian32(bytes + at);
        // The four bytes of the checksum may be missing from the last chunk, as stb_image allows.
        if (length > size - at - 8) return "Corrupt PNG: a chunk claims more than the file holds";
        const char* type = reinterpret_cast<const char*>(bytes + at + 4);
        const char* data = type + 4;
        if (std::memcmp(type, "IHDR", 4) == 0 && length == 13 && !header)
            header = bytes + at + 8;
        else if (std::memcmp(type, "CgBI", 4) == 0)
            apple = true;
        else if (std::memcmp(type, "IDAT", 4) == 0)
            pieces.emplace_back(data, length);
        else if (std::memcmp(type, "IEND", 4) == 0)
            break;
    }
    uint64_t needed = header ? InflatedBytes(header) : 0;
    if (needed == 0 || pieces.empty()) return "";
    std::string joined;  // only when the stream is cut into several chunks
    if (pieces.size() > 1)
        for (std::string_view piece : pieces) joined += piece;
    std::string_view compressed = pieces.size() > 1 ? joined : pieces[0];
    std::string image = std::to_string(BigEndian32(header)) + "x" +
                        std::to_string(BigEndian32(header + 4)) + " image";
    std::string tooLittle = "Corrupt PNG: its pixel data is less than a " + image + " holds";
    // Deflate makes at most 258 bytes from two bits, 1032 from a byte: a stream this short cannot
    // fill the image, and no buffer is made for it.
    if (needed > compressed.size() * 1032) return tooLittle;
    std::unique_ptr<char, decltype(&std::free)> pixels(static_cast<char*>(std::calloc(needed, 1)),
                                                       &std::free);
    if (!pixels) return "Out of memory";
    int got = (apple ? stbi_zlib_decode_noheader_buffer : stbi_zlib_decode_buffer)(
        pixels.get(), int(needed), compressed.data(), int(compressed.size()));
    if (uint64_t(got) == needed) return "";
    return got < 0 ? "Corrupt PNG: its pixel data is damaged or more than a " + image + " holds"
                   : tooLittle;
}

// The image, or empty with `why` said.
std::optional<Image> DecodeMemory(const uint8_t* bytes, size_t size, std::string& why) {
    if (size > static_cast<size_t>(INT32_MAX)) {
        why = "too large";
        return std::nullopt;
    }
    why = CheckPng(bytes, size);
    if (!why.empty()) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
    if (pixels == nullptr) {
        why = stbi_failure_reason();
        return std::nullopt;
    }
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
    stbi_image_free(pixels);
    return image;
}

std::optional<Image> Decode(const std::string& path) {
    std::string bytes, error;
    std::optional<Image> image;
    if (ReadRegularFile(path, MaxImageFileBytes, bytes, error)) {
        image = DecodeMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), error);
        if (!image) error = path + ": " + error;
    }
    // A missing image is skipped quietly, as it always was; anything else says why.
    if (!image && StampOf(path).exists) Report(error);
    return image;
}

struct Prefetch {
    std::mutex mutex;
    std::condition_variable decoded;
    std::vector<std::string> waiting;  // in the order they will be decoded
    std::string inHand;                // being decoded
    std::map<std::string, Image> ready;
    // Files that failed, as they were when last looked at: one is looked at again at most once a
    // second and tried again only once it has changed, so a missing or bad file asked for at
    // every draw costs nothing measurable.
    struct Failed {
        FileStamp stamp;
        std::chrono::steady_clock::time_point lookedAt;
    };
    std::map<std::string, Failed> failed;
    bool stop = false;
    std::thread worker;

    // At exit, whichever way the program ends: stop after the file in hand.
    ~Prefetch() {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        if (worker.joinable()) worker.join();
    }

    std::optional<Image> DecodeNoting(const std::string& path) {
        FileStamp stamp = StampOf(path);
        std::optional<Image> image = Decode(path);
        if (!image) {
            std::lock_guard lock(mutex);
            failed[path] = {stamp, std::chrono::steady_clock::now()};
        }
        return image;
    }

    void Run() {
        for (;;) {
            std::string path;
            {
                std::lock_guard lock(mutex);
                if (stop || waiting.empty()) return;
                path = waiting.front();
                waiting.erase(waiting.begin());
                inHand = path;
            }
            std::optional<Image> image = DecodeNoting(path);
            {
                std::lock_guard lock(mutex);
                // A failure is kept in `failed` alone.
                if (image) ready.emplace(path, std::move(*image));
                inHand.clear();
            }
            decoded.notify_all();
        }
    }
};

Prefetch& prefetch() {
    static Prefetch instance;
    return instance;
}

}  // namespace

void PrefetchImages(std::vector<std::string> paths) {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    // A page without threads (they would need cross-origin isolation from its server) decodes
    // each file at its first use instead.
    return;
#endif
    Prefetch& p = prefetch();
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    std::lock_guard lock(p.mutex);
    if (p.worker.joinable() || paths.empty()) return;
    p.waiting = std::move(paths);
    p.worker = std::thread([&p] { p.Run(); });
}

std::optional<Image> LoadImageFile(const std::string& path) {
    Prefetch& p = prefetch();
    {
        std::unique_lock lock(p.mutex);
        // Still waiting: decoded here instead, as the caller wants it now.
        std::erase(p.waiting, path);
        p.decoded.wait(lock, [&] { return p.inHand != path; });
        if (auto found = p.ready.find(path); found != p.ready.end()) {
            Image image = std::move(found->second);
            p.ready.erase(found);
            return image;
        }
        // Looked at only after the decoding ahead is done with the file, which may have just
        // failed there.
        if (auto f = p.failed.find(path); f != p.failed.end()) {
            auto now = std::chrono::steady_clock::now();
            if (now - f->second.lookedAt < std::chrono::seconds(1)) return std::nullopt;
            f->second.lookedAt = now;
            if (StampOf(path) == f->second.stamp) return std::nullopt;
            p.failed.erase(f);
        }
    }
    return p.DecodeNoting(path);
}

std::optional<Image> LoadImageMemory(const uint8_t* bytes, size_t size) {
    std::string why;
    return DecodeMemory(bytes, size, why);
}

void ForgetFailedImages() {
    std::lock_guard lock(prefetch().mutex);
    prefetch().failed.clear();
}
