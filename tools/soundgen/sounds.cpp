// The game's sounds, each from its own seed.
#include <algorithm>

#include "synth.h"

namespace {

constexpr float Dt = 1.0f / SoundRate;

// A gun's report: a band of noise around `crackHz` for the crack and a falling sine for the
// thump, both decaying fast.
Signal Gun(uint64_t seed, float seconds, float crackHz, float crackDecay, float thumpHz,
           float thumpWeight, float thumpDecay) {
    Signal s = Silence(seconds);
    Noise noise{seed};
    Filter crack, body;
    float phase = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) * Dt;
        const float n = noise.Next();
        const float c = crack.BandPass(n, crackHz * (1.0f - 0.4f * t / seconds), 0.7f);
        const float b = body.LowPass(n, 900.0f);
        phase += (thumpHz * (0.6f + 0.4f * ExpNegative(-t / 0.02f))) * Dt;
        const float thump = SineTurns(phase) * thumpWeight * Envelope(t, 0.001f, thumpDecay);
        s[i] = c * Envelope(t, 0.0008f, crackDecay) +
               0.6f * b * Envelope(t, 0.002f, crackDecay * 2) + thump;
    }
    return s;
}

// A blast: low-passed noise whose cut-off falls as it dies, with a rumble under it and crackles
// scattered through the tail.
Signal Blast(uint64_t seed, float seconds, float startHz, float endHz, float decay, float rumbleHz,
             float secondAt) {
    Signal s = Silence(seconds);
    Noise noise{seed};
    Noise crackles{seed ^ 0x5bd1e995u};
    Filter body, rumble, crackle;
    float phase = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) * Dt;
        const float n = noise.Next();
        float env = Envelope(t, 0.003f, decay);
        if (secondAt > 0.0f && t > secondAt) env += 0.8f * Envelope(t - secondAt, 0.004f, decay);
        const float cutoff = endHz + (startHz - endHz) * ExpNegative(-t / (decay * 0.7f));
        const float b = body.LowPass(n, cutoff);
        const float r = rumble.LowPass(n, 120.0f) * 4.0f;
        phase += rumbleHz * (0.7f + 0.3f * ExpNegative(-t / 0.1f)) * Dt;
        const float boom = SineTurns(phase) * Envelope(t, 0.004f, decay * 0.5f);
        const float spark = crackles.Next();
        const float pop = spark > 0.9985f ? 1.0f : 0.0f;
        const float c = crackle.BandPass(pop * 8.0f, 2500.0f, 0.5f) * Envelope(t, 0.05f, decay);
        s[i] = (b * 1.6f + r) * env + 0.5f * boom + 0.3f * c;
    }
    return s;
}

// A struck plate: a crack of noise and two inharmonic partials ringing briefly.
Signal Hit(uint64_t seed) {
    Signal s = Silence(0.22f);
    Noise noise{seed};
    Filter crack, body;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) * Dt;
        const float n = noise.Next();
        const float ring = 0.5f * SineTurns(t * 523.0f) + 0.35f * SineTurns(t * 1187.0f);
        s[i] = crack.BandPass(n, 3000.0f, 0.8f) * Envelope(t, 0.0006f, 0.012f) +
               body.LowPass(n, 1200.0f) * 1.5f * Envelope(t, 0.002f, 0.04f) +
               ring * Envelope(t, 0.001f, 0.035f);
    }
    return s;
}

// The engine's drone at its middle speed, a loop of whole cycles: a pulse at 76 Hz (every
// partial a whole number of cycles in the loop), beating at the propeller's blade rate, over a
// little low-passed noise. The loop is 0.5 s, so every frequency is a multiple of 2 Hz.
Signal Engine(uint64_t seed) {
    const float loop = 0.5f;
    const int overlap = SoundRate / 20;
    Signal s(static_cast<size_t>(loop * SoundRate) + overlap, 0.0f);
    Noise noise{seed};
    Filter air, tone;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) * Dt;
        float pulse = 0.0f;
        for (int h = 1; h <= 8; ++h) pulse += SineTurns(t * 76.0f * h) / static_cast<float>(h);
        const float blades = 0.75f + 0.25f * SineTurns(t * 38.0f);
        const float body = tone.LowPass(pulse, 700.0f);
        s[i] = body * blades + 0.35f * air.LowPass(noise.Next(), 500.0f);
    }
    CloseLoop(s, overlap);
    return s;
}

// A short soft tick for the menu cursor.
Signal Tick() {
    Signal s = Silence(0.07f);
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) * Dt;
        s[i] =
            (SineTurns(t * 1320.0f) + 0.3f * SineTurns(t * 2640.0f)) * Envelope(t, 0.003f, 0.015f);
    }
    return s;
}

// Two rising notes for an entry confirmed, a fifth apart.
Signal Confirm() {
    Signal s = Silence(0.36f);
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) * Dt;
        float v =
            (SineTurns(t * 660.0f) + 0.25f * SineTurns(t * 1320.0f)) * Envelope(t, 0.004f, 0.05f);
        if (t > 0.08f) {
            const float u = t - 0.08f;
            v += (SineTurns(u * 990.0f) + 0.25f * SineTurns(u * 1980.0f)) *
                 Envelope(u, 0.004f, 0.08f);
        }
        s[i] = v;
    }
    return s;
}

}  // namespace

std::vector<SoundFile> AllSounds() {
    std::vector<SoundFile> sounds = {
        {"gun_player.wav", Gun(11, 0.13f, 2600.0f, 0.018f, 150.0f, 0.9f, 0.03f)},
        {"gun_aircraft.wav", Gun(12, 0.10f, 3400.0f, 0.012f, 210.0f, 0.5f, 0.02f)},
        {"gun_heavy.wav", Gun(13, 0.40f, 1100.0f, 0.05f, 70.0f, 1.2f, 0.09f)},
        {"hit.wav", Hit(21)},
        {"explosion.wav", Blast(31, 1.1f, 2400.0f, 250.0f, 0.28f, 55.0f, 0.0f)},
        {"explosion_bomber.wav", Blast(32, 1.8f, 1800.0f, 160.0f, 0.45f, 40.0f, 0.22f)},
        {"engine.wav", Engine(41)},
        {"menu_move.wav", Tick()},
        {"menu_confirm.wav", Confirm()},
    };
    for (SoundFile& f : sounds) {
        const bool loop = f.name == "engine.wav";
        if (loop) {
            // A loop keeps its ends: only scaled.
            float highest = 0.0f;
            for (float v : f.samples) highest = std::max(highest, v < 0 ? -v : v);
            for (float& v : f.samples) v *= 0.7f / highest;
        } else {
            Finish(f.samples, 0.89f);
        }
    }
    return sounds;
}
