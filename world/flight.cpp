#include "world/flight.h"

#include <cmath>

#include "platform/seam.h"
#include "world/object_list.h"
#include "world/telling.h"
#include "world/trig.h"

namespace {

// The flight band holds living aircraft between the base altitude and 3000 above it.
constexpr float BandHeight = 3000.0f;

void HoldInBand(AircraftObject& a) {
    const float base = world.baseAltitude;
    if (a.y > base + BandHeight) {
        a.pitch *= -0.5f;
        a.vy *= -0.5f;
        a.y = base + BandHeight;
    }
    if (a.y < base) {
        a.pitch *= -0.5f;
        a.vy *= -0.5f;
        a.y = base + 1.0f;
        while (a.cruiseAltitude < base + 1000.0f)
            a.cruiseAltitude += static_cast<float>(Rand() % 501);
    }
}

}  // namespace

void SurfaceContact(GameObject& o) {
    o.y = 0.0f;
    o.vy = -0.8f * o.vy;
    // Only hard impacts bounce; anything softer comes to rest on the surface.
    if (o.vy < 20.0f) o.vy = 0.0f;
    o.pitch = -0.5f * o.pitch;
    Hurt(o, 1);
    if (o.kind == Shot && Rand() % 3 != 0) o.health = -50;
    SpawnExplosion(o);
    Tell(CrashExplosion, o);
}

void IntegrateFlight(GameObject& o) {
    o.x += o.vx;
    o.y += o.vy;
    o.z += o.vz;

    o.vx *= 0.9f;
    o.vy *= 0.9f;
    o.vz *= 0.9f;

    // Yaw only adds sideways drift; the forward thrust follows the pitch alone.
    o.vx -= Sine(o.yaw) * o.speed;
    o.vy -= Sine(o.pitch) * o.speed;
    o.vz += Cosine(o.pitch) * o.speed;

    if (o.y > 1.0f) {
        const float velocity = std::sqrt(o.vx * o.vx + o.vy * o.vy + o.vz * o.vz);
        o.vy -= 50.0f / (velocity + 1.0f);
    } else {
        o.vy = 1.0f;
    }

    if (o.y < 0.0f) SurfaceContact(o);

    if (o.kind == Aircraft && o.health > 0) HoldInBand(static_cast<AircraftObject&>(o));
}

float HeadingTo(const GameObject& o, float tx, float /*ty*/, float tz) {
    const float lateral = tx - o.x;
    const float forward = tz - o.z;
    float h = static_cast<float>(ArcTangent2(static_cast<double>(lateral), forward));
    // The wrap is taken against the pitch with these single-precision constants; callers only
    // look at headings within ±0.5, where it never applies.
    if (h - o.pitch > 3.14159f) h -= 6.28318f;
    if (h - o.pitch < -3.14159f) h += 6.28318f;
    return h;
}

float PitchTo(const GameObject& o, float tx, float ty, float tz) {
    const float horizontal = (std::fabs(tz - o.z) + std::fabs(tx - o.x)) * 0.5f;
    const float rise = ty - o.y;
    const float angle = static_cast<float>(ArcTangent2(static_cast<double>(horizontal), rise));
    return angle - 1.570795f;
}

void SpawnExplosion(const GameObject& source, int32_t health) {
    SpawnScatteredExplosion(source, 50, 50, health);
}

void SpawnScatteredExplosion(const GameObject& source, int yReach, int zReach, int32_t health) {
    GameObject explosion;
    explosion.kind = Explosion;
    explosion.model = ModelExplosion;
    explosion.health = health;
    explosion.x = source.x;
    explosion.y = source.y + static_cast<float>(Rand() % (2 * yReach + 1) - yReach);
    explosion.z = source.z + static_cast<float>(Rand() % (2 * zReach + 1) - zReach);
    AppendObject(explosion);
}
