// Demo files: a run's input, one record per frame, with each session's kind and seed and digests
// of its world, so that a playback can tell when it has gone out of step. The same bytes on every
// platform (little-endian throughout).
//
//   header   "MVZD", format version (u16), the game's version (u8 length, then its bytes)
//   'S'      a session starts: kind (u8: 0 menu, 1 game), seed (u32)
//   'F'      frames: input (u16, the keys' bits), how many frames in a row (varint, at least 1)
//   'C'      checkpoint: frames played so far in the session (varint), the world's digest (u64)
//   'E'      the session ends: its frames (varint), its result (u8), the world's digest (u64)
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

constexpr uint16_t DemoFormatVersion = 1;
// No run could fill this: a day of play changing the input every frame is a few megabytes.
constexpr size_t MaxDemoFileBytes = 16u << 20;
// A checkpoint every this many frames of a session (12.8 s of play).
constexpr uint32_t DemoCheckpointFrames = 256;

struct DemoRun {
    uint16_t input = 0;
    uint32_t frames = 0;
};

struct DemoCheckpoint {
    uint32_t frame = 0;
    uint64_t digest = 0;
};

struct DemoSession {
    uint8_t kind = 0;  // 0 menu, 1 game
    uint32_t seed = 0;
    std::vector<DemoRun> runs;
    uint32_t frames = 0;  // in all its runs
    std::vector<DemoCheckpoint> checkpoints;
    bool ended = false;  // its end is in the file, with:
    uint8_t result = 0;
    uint64_t digest = 0;
};

struct Demo {
    std::string gameVersion;
    std::vector<DemoSession> sessions;
    // Empty, or where the file breaks off or is spoiled: what comes before it still plays.
    std::string cut;
};

// Reads a demo: false with `error` (one line) when there is nothing to play: the file is missing,
// not a regular file, too large, not a demo, of a newer format, cut short in its header, or holds
// no session. A file that breaks off or is spoiled after its first session began reads up to
// there, with `cut` saying where.
bool ReadDemoFile(const std::string& path, Demo& demo, std::string& error);
bool ReadDemoBytes(const uint8_t* bytes, size_t size, Demo& demo, std::string& error);

// Writes a demo as the run goes. Records are flushed at every checkpoint and session end, so a
// crash loses at most the frames since; a failed write is said once and ends the recording.
struct DemoWriter {
    std::FILE* file = nullptr;
    std::string path;
    DemoRun run;  // the frames with one input, not written yet
};

// Opens `path` for a new demo, writing its header: false with `error` when the path cannot be
// written (no such folder, no permission, a directory or other non-regular file) or holds a file
// that is not a demo, which is never overwritten.
bool OpenDemoWriter(DemoWriter& writer, const std::string& path, const std::string& gameVersion,
                    std::string& error);
bool Recording(const DemoWriter& writer);
void WriteSessionStart(DemoWriter& writer, uint8_t kind, uint32_t seed);
void WriteFrameInput(DemoWriter& writer, uint16_t input);
void WriteCheckpoint(DemoWriter& writer, uint32_t frame, uint64_t digest);
void WriteSessionEnd(DemoWriter& writer, uint32_t frames, uint8_t result, uint64_t digest);
void CloseDemoWriter(DemoWriter& writer);
