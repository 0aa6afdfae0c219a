// The game's own mixer: a fixed set of voices summed into 44100 Hz 16-bit stereo. It is ours
// because SDL_mixer does not exist on the Windows ring; both rings' audio threads call MixInto.
#pragma once

#include <cstdint>
#include <mutex>

constexpr int MixRate = 44100;
constexpr int MaxVoices = 24;

// Mono 16-bit samples at `rate` Hz, owned by whoever plays them; they must outlive the voices
// that play them (StopAllVoices before freeing).
struct SoundClip {
    const int16_t* samples = nullptr;
    int32_t frames = 0;
    int32_t rate = MixRate;
};

// What to play and how.
struct VoiceStart {
    const SoundClip* clip = nullptr;
    float gain = 1.0f;  // 0 to 1
    float pan = 0.0f;   // -1 full left, 0 centre, 1 full right
    float rate = 1.0f;  // playback speed: 2 is an octave up
    bool loop = false;
    // Non-zero: at most one voice per key plays; a new start with the same key takes over that
    // voice (from the beginning, with the new clip and gains) instead of stacking another...
    uint64_t key = 0;
    // ...unless this is false: then a voice with the key still playing is left to finish.
    bool retrigger = true;
};

struct Voice {
    const int16_t* samples = nullptr;  // null: the voice is free
    int32_t frames = 0;
    int32_t clipRate = MixRate;
    uint64_t position = 0;                  // in frames of the clip, 32 bits of fraction
    uint64_t step = 0;                      // per output frame, same fixed point
    float gain = 0;                         // as started or last set, before the pan
    float left = 0, right = 0;              // the gains now
    float targetLeft = 0, targetRight = 0;  // where they are ramping to
    bool loop = false;
    bool stopping = false;  // freed once its gains have ramped to 0
    uint64_t key = 0;
    uint32_t started = 0;  // the mixer's count of starts when it began: smaller is older
};

// A voice once started: its slot and the start it belongs to, so a handle to a voice that has
// since been freed or taken over does nothing.
struct VoiceHandle {
    int32_t slot = -1;
    uint32_t started = 0;
};

struct Mixer {
    std::mutex mutex;
    Voice voices[MaxVoices];
    uint32_t starts = 0;
    // Everything is scaled by this, ramped so that muting or changing it never clicks.
    float volume = 1.0f;
    float volumeNow = 1.0f;
    // The limiter's gain: below 1 while a loud moment passes, back to 1 over a tenth of a second.
    float limiterGain = 1.0f;
};

// Starts a voice. When every voice is busy, the quietest one that does not loop gives way (the
// oldest of equals); a start quieter than all of them is not played (the handle's slot is -1).
VoiceHandle PlayVoice(Mixer& mixer, const VoiceStart& start);
// Changes a playing voice's gain, pan and rate; the gains ramp there over a few milliseconds.
void SetVoice(Mixer& mixer, VoiceHandle voice, float gain, float pan, float rate);
// Fades the voice out over a few milliseconds, then frees it.
void StopVoice(Mixer& mixer, VoiceHandle voice);
// Frees every voice at once (before the clips they play are freed).
void StopAllVoices(Mixer& mixer);
void SetMixerVolume(Mixer& mixer, float volume);
// Voices playing now.
int PlayingVoices(Mixer& mixer);
// True while the voice of this handle plays and is not being stopped.
bool VoicePlaying(Mixer& mixer, VoiceHandle voice);

// The pan law: constant power, gain cos and sin of (pan + 1) * pi / 4, so a centred voice is
// -3 dB on each side and its loudness does not change as it moves.
void PanGains(float gain, float pan, float& left, float& right);

// Sums every voice into `frames` frames of interleaved stereo (left first). Loud moments are
// limited, not clipped: the gain comes down ahead of a peak and recovers after it, and what
// still overshoots is rounded off softly below full scale. Called from the audio thread: it
// takes the mixer's lock and never allocates.
void MixInto(Mixer& mixer, int16_t* interleavedStereo, int frames);

// The process's mixer, which the ring's audio device plays and the game fills.
extern Mixer gameMixer;
