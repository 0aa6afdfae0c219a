#include "world/shots.h"

#include <cmath>

#include "platform/seam.h"
#include "world/object_list.h"
#include "world/telling.h"
#include "world/trig.h"

namespace {

constexpr double MuzzleImpulse = 200.0;
// One spread step; the single-precision value is what is applied.
constexpr float SpreadStep = 0.02f;

double SpreadDraw() { return static_cast<double>(Rand() % 11 - 5) * SpreadStep; }

}  // namespace

GameObject* SpawnShot(const GameObject& s, bool backward) {
    GunnerObject shot;
    shot.kind = Shot;
    shot.health = -40;
    shot.model = ModelShot;

    shot.team = s.team;
    shot.x = s.x;
    shot.y = s.y;
    shot.z = s.z;
    shot.vx = s.vx;
    shot.vy = s.vy;
    shot.vz = s.vz;
    shot.pitch = s.pitch;
    shot.yaw = s.yaw;
    shot.aimYaw = s.aimYaw;
    shot.speed = s.speed;

    // The impulse follows the shooter's nose before the spread; forward it takes the squared
    // cosine, so steep shots lose their forward push faster than their climb.
    const double sine = static_cast<float>(Sine(static_cast<double>(s.pitch)));
    const double cosine = static_cast<float>(Cosine(static_cast<double>(s.pitch)));
    shot.vy = static_cast<float>(shot.vy - sine * MuzzleImpulse);
    shot.vz = static_cast<float>(shot.vz + cosine * cosine * MuzzleImpulse);

    // Pitch spread first, then yaw: two draws for every shot.
    const double pitchSpread = SpreadDraw();
    shot.pitch = static_cast<float>(shot.pitch + pitchSpread);
    const double yawSpread = SpreadDraw();
    shot.yaw = static_cast<float>(shot.yaw + yawSpread);

    if (backward) {
        shot.speed = -shot.speed;
        shot.vz = -shot.vz;
    }
    TellShot(s);
    return AppendObject(shot);
}
