// The few building blocks the game's sounds are made of. Only plain arithmetic: no libm
// function, so the samples come out the same byte for byte on every system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int SoundRate = 22050;

using Signal = std::vector<float>;

// Seeded white noise in [-1, 1).
struct Noise {
    uint64_t state;
    float Next();
};

// sin(2 pi t) for any t, by a polynomial: good to about 1e-6.
float SineTurns(float turns);

// Low- and band-pass filters (Chamberlin's state-variable filter); the cut-off may change every
// sample.
struct Filter {
    float low = 0, band = 0;
    float LowPass(float in, float cutoffHz);
    float BandPass(float in, float centreHz, float damping);
};

Signal Silence(float seconds);
// An envelope: `attack` seconds up from 0, then falling by e every `decay` seconds.
float Envelope(float t, float attack, float decay);
// e^x for x <= 0, by squaring a short series.
float ExpNegative(float x);
// Scales the peak to `peak` (of full scale) and fades the last 5 ms to exact silence.
void Finish(Signal& s, float peak);
// Crossfades the last `overlap` samples into the first and drops them, so the loop has no seam.
void CloseLoop(Signal& s, int overlap);

// The whole WAV file: RIFF, a 16-byte fmt chunk (PCM, mono, 16-bit) and the data.
std::string WavBytes(const Signal& s);

struct SoundFile {
    std::string name;
    Signal samples;
};

// Every sound the game plays, in a fixed order.
std::vector<SoundFile> AllSounds();
