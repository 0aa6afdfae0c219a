#include "platform/core/image_file.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_FAILURE_USERMSG
// The game's images are small; refusing huge ones keeps a bad file from taking all memory.
#define STBI_MAX_DIMENSIONS 4096
#include <stb_image.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

#include "platform/core/regular_file.h"
#include "platform/report.h"

namespace {

std::optional<Image> Take(stbi_uc* pixels, int width, int height) {
    if (pixels == nullptr) return std::nullopt;
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
        image = LoadImageMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (!image) error = path + ": " + stbi_failure_reason();
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
    if (size > static_cast<size_t>(INT32_MAX)) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
    return Take(pixels, width, height);
}

void ForgetFailedImages() {
    std::lock_guard lock(prefetch().mutex);
    prefetch().failed.clear();
}
