#include "platform/core/demo_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/core/regular_file.h"
#include "platform/report.h"

namespace {

constexpr char Magic[4] = {'M', 'V', 'Z', 'D'};
constexpr uint16_t KnownKeys = 0x1ff;  // the keys a demo records
constexpr uint8_t MaxResult = 2;

struct Cursor {
    const uint8_t* bytes;
    size_t size;
    size_t at = 0;

    bool Left(size_t n) const { return size - at >= n; }
    bool U8(uint8_t& v) {
        if (!Left(1)) return false;
        v = bytes[at++];
        return true;
    }
    bool U16(uint16_t& v) {
        if (!Left(2)) return false;
        v = static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
        at += 2;
        return true;
    }
    bool U32(uint32_t& v) {
        if (!Left(4)) return false;
        v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | bytes[at + i];
        at += 4;
        return true;
    }
    bool U64(uint64_t& v) {
        if (!Left(8)) return false;
        v = 0;
        for (int i = 7; i >= 0; --i) v = v << 8 | bytes[at + i];
        at += 8;
        return true;
    }
    // Seven bits a byte, low first; at most five bytes for 32 bits.
    bool Varint(uint32_t& v) {
        v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            uint8_t b = 0;
            if (!U8(b)) return false;
            if (shift == 28 && (b & 0x70) != 0) return false;
            v |= static_cast<uint32_t>(b & 0x7f) << shift;
            if ((b & 0x80) == 0) return true;
        }
        return false;
    }
};

// Reads the records after the header; stops at the first one that is cut short or spoiled.
void ReadSessions(Cursor& in, Demo& demo) {
    DemoSession* session = nullptr;
    for (;;) {
        const size_t at = in.at;
        if (!in.Left(1)) {
            if (session != nullptr && !session->ended)
                demo.cut = "the demo breaks off in session " +
                           std::to_string(demo.sessions.size()) + " after frame " +
                           std::to_string(session->frames);
            return;
        }
        auto spoiled = [&](const char* what) {
            demo.cut = "the demo is " + std::string(what) + " at byte " + std::to_string(at) +
                       (session != nullptr ? " (session " + std::to_string(demo.sessions.size()) +
                                                 ", frame " + std::to_string(session->frames) + ")"
                                           : std::string());
        };
        uint8_t tag = 0;
        in.U8(tag);
        const bool open = session != nullptr && !session->ended;
        bool whole = true;
        if (tag == 'S') {
            DemoSession next;
            whole = in.U8(next.kind) && in.U32(next.seed);
            if (whole && (open || next.kind > 1)) return spoiled("spoiled");
            if (whole) session = &demo.sessions.emplace_back(next);
        } else if (tag == 'F') {
            DemoRun run;
            whole = in.U16(run.input) && in.Varint(run.frames);
            if (whole && (!open || run.frames == 0 || (run.input & ~KnownKeys) != 0 ||
                          run.frames > UINT32_MAX - session->frames))
                return spoiled("spoiled");
            if (whole) {
                session->runs.push_back(run);
                session->frames += run.frames;
            }
        } else if (tag == 'C') {
            DemoCheckpoint checkpoint;
            whole = in.Varint(checkpoint.frame) && in.U64(checkpoint.digest);
            if (whole && (!open || checkpoint.frame != session->frames)) return spoiled("spoiled");
            if (whole) session->checkpoints.push_back(checkpoint);
        } else if (tag == 'E') {
            uint32_t frames = 0;
            uint8_t result = 0;
            uint64_t digest = 0;
            whole = in.Varint(frames) && in.U8(result) && in.U64(digest);
            if (whole && (!open || frames != session->frames || result > MaxResult))
                return spoiled("spoiled");
            if (whole) {
                session->ended = true;
                session->result = result;
                session->digest = digest;
            }
        } else {
            return spoiled("spoiled");
        }
        if (!whole) return spoiled("cut short");
    }
}

}  // namespace

bool ReadDemoBytes(const uint8_t* bytes, size_t size, Demo& demo, std::string& error) {
    demo = Demo{};
    Cursor in{bytes, size};
    if (size > MaxDemoFileBytes) {
        error = "larger than any demo could be";
        return false;
    }
    if (size == 0 || std::memcmp(bytes, Magic, std::min<size_t>(size, 4)) != 0) {
        error = "not a demo";
        return false;
    }
    uint16_t version = 0;
    uint8_t length = 0;
    in.at = 4;
    if (size < 4 || !in.U16(version)) {
        error = "cut short in its header";
        return false;
    }
    if (version > DemoFormatVersion) {
        error = "a demo of a newer format (" + std::to_string(version) + "; this game reads " +
                std::to_string(DemoFormatVersion) + ")";
        return false;
    }
    if (version == 0) {
        error = "not a demo (format 0)";
        return false;
    }
    if (!in.U8(length) || !in.Left(length)) {
        error = "cut short in its header";
        return false;
    }
    demo.gameVersion.assign(reinterpret_cast<const char*>(bytes + in.at), length);
    in.at += length;
    ReadSessions(in, demo);
    if (demo.sessions.empty()) {
        error = demo.cut.empty() ? "holds no session" : demo.cut;
        return false;
    }
    return true;
}

bool ReadDemoFile(const std::string& path, Demo& demo, std::string& error) {
    if (!StampOf(path).exists) {
        error = path + ": no such file";
        return false;
    }
    std::string bytes;
    if (!ReadRegularFile(path, MaxDemoFileBytes, bytes, error)) return false;
    if (!ReadDemoBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), demo, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

namespace {

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xff);
}

void PutVarint(std::string& out, uint32_t value) {
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7f) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

// Writes `bytes`, flushing when asked; the first failure is said and ends the recording.
void Write(DemoWriter& w, const std::string& bytes, bool flush) {
    if (w.file == nullptr) return;
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), w.file) == bytes.size();
    if (ok && flush) ok = std::fflush(w.file) == 0;
    if (ok) return;
    const int why = errno;
    std::fclose(w.file);
    w.file = nullptr;
    Report(w.path + ": the demo cannot be written (" +
           (why != 0 ? std::strerror(why) : "write failed") + "); playing on without recording");
}

void WriteRun(DemoWriter& w, bool flush) {
    std::string record;
    if (w.run.frames > 0) {
        record += 'F';
        Put(record, w.run.input, 2);
        PutVarint(record, w.run.frames);
        w.run = {};
    }
    Write(w, record, flush);
}

}  // namespace

bool OpenDemoWriter(DemoWriter& writer, const std::string& path, const std::string& gameVersion,
                    std::string& error) {
    const PathKind kind = KindOf(path);
    if (kind == PathKind::Folder) {
        error = path + ": is a folder, not a file to record into";
        return false;
    }
    if (kind == PathKind::Other) {
        error = path + ": not a regular file; nothing recorded";
        return false;
    }
    if (kind == PathKind::Regular) {
        char head[4] = {};
        size_t got = 0;
        if (std::FILE* existing = std::fopen(path.c_str(), "rb")) {
            got = std::fread(head, 1, sizeof head, existing);
            std::fclose(existing);
        }
        if (got != 0 && (got < 4 || std::memcmp(head, Magic, 4) != 0)) {
            error = path + ": holds something that is not a demo; not overwritten";
            return false;
        }
    }
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = path + ": cannot be written (" + std::strerror(errno) + ")";
        return false;
    }
    writer = DemoWriter{file, path, {}};
    std::string header(Magic, 4);
    Put(header, DemoFormatVersion, 2);
    const std::string version = gameVersion.substr(0, 255);
    header += static_cast<char>(version.size());
    header += version;
    Write(writer, header, true);
    if (writer.file == nullptr) {
        error = path + ": cannot be written";
        return false;
    }
    return true;
}

bool Recording(const DemoWriter& writer) { return writer.file != nullptr; }

void WriteSessionStart(DemoWriter& writer, uint8_t kind, uint32_t seed) {
    std::string record(1, 'S');
    Put(record, kind, 1);
    Put(record, seed, 4);
    Write(writer, record, false);
}

void WriteFrameInput(DemoWriter& writer, uint16_t input) {
    if (writer.run.frames > 0 && (writer.run.input != input || writer.run.frames == UINT32_MAX))
        WriteRun(writer, false);
    writer.run.input = input;
    ++writer.run.frames;
}

void WriteCheckpoint(DemoWriter& writer, uint32_t frame, uint64_t digest) {
    WriteRun(writer, false);
    std::string record(1, 'C');
    PutVarint(record, frame);
    Put(record, digest, 8);
    Write(writer, record, true);
}

void WriteSessionEnd(DemoWriter& writer, uint32_t frames, uint8_t result, uint64_t digest) {
    WriteRun(writer, false);
    std::string record(1, 'E');
    PutVarint(record, frames);
    Put(record, result, 1);
    Put(record, digest, 8);
    Write(writer, record, true);
}

void CloseDemoWriter(DemoWriter& writer) {
    WriteRun(writer, true);
    if (writer.file != nullptr) std::fclose(writer.file);
    writer.file = nullptr;
}
