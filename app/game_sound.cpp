#include "app/game_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/demo.h"
#include "platform/core/mixer.h"
#include "platform/core/wav_file.h"
#include "platform/seam.h"
#include "render/camera.h"

namespace {

enum Clip {
    GunPlayer,
    GunAircraft,
    GunHeavy,
    HitClip,
    ExplosionClip,
    BomberClip,
    EngineClip,
    MenuMove,
    MenuConfirm,
    ClipCount,
};

const char* const clipFiles[ClipCount] = {
    "data/gun_player.wav", "data/gun_aircraft.wav", "data/gun_heavy.wav",
    "data/hit.wav",        "data/explosion.wav",    "data/explosion_bomber.wav",
    "data/engine.wav",     "data/menu_move.wav",    "data/menu_confirm.wav",
};

struct Loaded {
    std::vector<int16_t> samples;
    SoundClip clip;
};

bool started = false;
bool muted = false;
bool mHeld = false;
Loaded clips[ClipCount];
VoiceHandle engine;

// Keys of voices that are one per something: the engine and the menu's, then per object (their
// addresses are aligned, so adding 1 or 2 never meets another object's key).
constexpr uint64_t EngineKey = 1, MenuKey = 3;
uint64_t ObjectKey(const void* source, uint64_t which) {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(source)) + which;
}

// At the camera's usual distance from the player, 3000, a sound plays at its own gain; farther
// away it falls as 1 / distance.
constexpr float NearDistance = 3000.0f;
constexpr float QuietestWorthAVoice = 0.03f;
// The menu's demonstration plays under the menu, softer than a game.
constexpr float DemonstrationGain = 0.35f;
// Half the screen's width at depth 1: tan of half the field of view times the aspect.
constexpr float HalfWidthPerDepth = 0.41421356f * 1.3333334f;

float DistanceGain(float x, float y, float z) {
    const float dx = x - cameraEye.x, dy = y - cameraEye.y, dz = z - cameraEye.z;
    const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    return NearDistance / std::max(distance, NearDistance);
}

// Where it shows across the screen, -1 at the left edge to 1 at the right (the camera looks
// along -x, with the course running to the right).
float ScreenPan(float x, float z) {
    const float depth = cameraEye.x - x;
    if (depth < 10.0f) return 0.0f;
    return std::clamp((z - cameraEye.z) / (depth * HalfWidthPerDepth), -1.0f, 1.0f);
}

VoiceHandle Play(Clip clip, float gain, float pan, float rate, uint64_t key, bool retrigger,
                 bool loop = false) {
    if (clips[clip].samples.empty() || gain < QuietestWorthAVoice) return {};
    VoiceStart start;
    start.clip = &clips[clip].clip;
    start.gain = gain;
    start.pan = pan;
    start.rate = rate;
    start.key = key;
    start.retrigger = retrigger;
    start.loop = loop;
    return PlayVoice(gameMixer, start);
}

void Heard(const WorldEvent& e) {
    float gain = DistanceGain(e.x, e.y, e.z);
    if (world.inGame == 0) gain *= DemonstrationGain;
    const float pan = ScreenPan(e.x, e.z);
    // Guns: one voice per shooter, started again at every shot.
    const uint64_t gun = ObjectKey(e.source, 1), blast = ObjectKey(e.source, 2);
    switch (e.kind) {
        case PlayerShot:
            Play(GunPlayer, 0.45f * gain, pan, 1.0f, gun, true);
            break;
        case AircraftShot:
            Play(GunAircraft, 0.4f * gain, pan, 1.0f, gun, true);
            break;
        case WarshipShot:
        case GunnerShot:
            Play(GunHeavy, 0.6f * gain, pan, 1.0f, gun, true);
            break;
        case HitExplosion:
            Play(HitClip, 0.8f * gain, pan, 1.0f, blast, true);
            break;
        case CrashExplosion:
            // A burning wreck tells this every frame: it crackles, lower, as each one ends.
            Play(HitClip, 0.35f * gain, pan, 0.6f, blast, false);
            break;
        case AircraftRemoved:
            Play(ExplosionClip, 0.9f * gain, pan, 1.0f, 0, true);
            break;
        case BomberDown:
            Play(BomberClip, 1.0f * gain, pan, 1.0f, 0, true);
            break;
    }
}

}  // namespace

void StartGameSound() {
    for (int i = 0; i < ClipCount; ++i) {
        std::optional<WavSound> sound = LoadWavFile(clipFiles[i]);
        if (!sound) continue;
        clips[i].samples = std::move(sound->samples);
        clips[i].clip = {clips[i].samples.data(), static_cast<int32_t>(clips[i].samples.size()),
                         sound->rate};
    }
    SetMixerVolume(gameMixer, muted ? 0.0f : 1.0f);
    SetWorldEventListener(Heard);
    started = true;
}

void StopGameSound() {
    SetWorldEventListener(nullptr);
    StopAllVoices(gameMixer);
    for (Loaded& l : clips) l = Loaded{};
    engine = {};
    started = false;
}

void SetSoundMuted(bool mute) {
    muted = mute;
    SetMixerVolume(gameMixer, muted ? 0.0f : 1.0f);
}

bool SoundMuted() { return muted; }

void SoundFrame(const GameObject& player, bool inGame) {
    if (!started) return;
    // The host's own M: a demo being played back records none, and leaves sound to the player.
    const bool m = (liveInput.keys & InputM) != 0;
    if (m && !mHeld) SetSoundMuted(!muted);
    mHeld = m;

    if (!inGame) {
        StopVoice(gameMixer, engine);
        engine = {};
        return;
    }
    // The pitch follows the speed the player flies at, 6.5 to 13, from the clip's own at 10; the
    // wreck of the player's aircraft has no engine.
    const float rate = std::clamp(player.speed, 6.5f, 13.0f) / 10.0f;
    const float gain = player.health > 0 ? 0.3f : 0.0f;
    const float pan = ScreenPan(player.x, player.z);
    if (VoicePlaying(gameMixer, engine))
        SetVoice(gameMixer, engine, gain, pan, rate);
    else
        engine = Play(EngineClip, gain, pan, rate, EngineKey, true, /*loop=*/true);
}

void PlayMenuSound(MenuSound sound) {
    if (!started) return;
    Play(sound == MenuCursorMoved ? MenuMove : MenuConfirm, 0.5f, 0.0f, 1.0f, MenuKey, true);
}
