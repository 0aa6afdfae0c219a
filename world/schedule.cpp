#include "world/schedule.h"

#include <initializer_list>

#include "platform/seam.h"
#include "world/object_list.h"

int32_t scheduleMark = 0;

namespace {

constexpr int32_t HighPhaseMark = 1;
constexpr int32_t LowPhaseMark = 50000;
constexpr float ClimbStart = 80000.0f;
constexpr float ClimbTop = 12000.0f;
constexpr float ClimbStep = 10.0f;
// Enemy types and warships change halfway up the climb.
constexpr float HalfwayUp = 6000.0f;

struct Offset {
    float x = 0, y = 0, z = 0;
};

bool Chance(int n) { return Rand() % n == 0; }

void PlaceFromPlayer(GameObject& a, Offset offset, bool playerVelocity) {
    const GameObject& p = *world.head;
    a.x = p.x + offset.x;
    a.y = p.y + offset.y;
    a.z = p.z + offset.z;
    if (playerVelocity) {
        a.vx = p.vx;
        a.vy = p.vy;
        a.vz = p.vz;
    }
}

struct Flight {
    int32_t team;
    int32_t model;
    int32_t health;
    Offset offset;
    bool playerVelocity;
    float speed;
    bool wingmen;
};

void Launch(const Flight& f) {
    AircraftObject a;
    a.team = f.team;
    a.model = f.model;
    a.health = f.health;
    PlaceFromPlayer(a, f.offset, f.playerVelocity);
    a.speed = f.speed;
    AppendObject(a);
    if (f.wingmen) AddWingmen(a);
}

void LaunchBomber(Offset offset) {
    BomberObject bomber;
    InitBomber(bomber);
    bomber.team = EnemyTeam;
    PlaceFromPlayer(bomber, offset, true);
    bomber.speed = 8.0f;
    AppendObject(bomber);
}

void LaunchWarship(Offset offset) {
    GunnerObject ship;
    InitGunner(ship);
    PlaceFromPlayer(ship, offset, false);
    // Warships sit on the sea whatever the player's altitude.
    ship.y = 240.0f;
    ship.speed = 10.0f;
    AppendObject(ship);
}

// Flights on the flank come from one of two lanes, 3000 or 5000 to the side.
float FlankLane() { return -(3000.0f + 2000.0f * static_cast<float>(Rand() % 2)); }

void LaunchWave(int32_t mark) {
    switch (mark) {
        case 0:
            AddWingmen(*world.head);
            Launch({FriendTeam, ModelFriend, 1, {-5000, 0, 0}, true, 10.0f, true});
            scheduleMark = 1000;
            break;
        case 1000:
            Launch({EnemyTeam, ModelScout, 5, {0, 0, 2000}, true, 9.0f, false});
            Launch({EnemyTeam, ModelScout, 1, {-5000, 0, 3000}, true, 9.0f, true});
            scheduleMark = 20000;
            break;
        case 20000:
            Launch({EnemyTeam, ModelFighter, 1, {0, 1000, 5000}, false, -10.0f, true});
            Launch({EnemyTeam, ModelFighter, 1, {-5000, 0, 5000}, false, -10.0f, true});
            scheduleMark = 30000;
            break;
        case 30000:
            Launch({EnemyTeam, ModelFighter, 1, {0, 0, 3000}, true, 8.0f, true});
            scheduleMark = 40000;
            break;
        case 40000:
            Launch({EnemyTeam, ModelFighter, 1, {0, 0, 3000}, true, 8.0f, true});
            scheduleMark = LowPhaseMark;
            break;
    }
}

bool IsWaveMark(int32_t mark) {
    return mark == 0 || mark == 1000 || mark == 20000 || mark == 30000 || mark == 40000;
}

void RunLowPhase() {
    const int32_t enemyModel = world.baseAltitude < HalfwayUp ? ModelFighter : ModelLateFighter;
    if (Chance(121)) Launch({EnemyTeam, enemyModel, 1, {0, 0, 3000}, true, 7.0f, true});
    if (Chance(481)) Launch({FriendTeam, ModelFriend, 1, {0, 0, -2000}, true, 12.0f, true});
    // The chance is drawn even once warships are over, so the later rows keep their draws.
    if (Chance(121) && world.baseAltitude < HalfwayUp) {
        const float lane = -1000.0f * static_cast<float>(Rand() % 6);
        LaunchWarship({lane, 0, 5000});
    }
    if (Chance(121)) Launch({EnemyTeam, enemyModel, 1, {FlankLane(), 0, 5000}, true, 7.0f, true});
    if (Chance(241))
        Launch({FriendTeam, ModelFriend, 1, {FlankLane(), 0, -5000}, true, 12.0f, true});
}

void Climb() {
    if (!(world.head->z > ClimbStart)) return;
    if (world.baseAltitude < ClimbTop) {
        world.baseAltitude += ClimbStep;
        RaiseAircraft(world.head, ClimbStep);
    } else {
        scheduleMark = HighPhaseMark;
    }
}

void RunHighPhase() {
    if (Chance(241)) LaunchBomber({0, 0, 3000});
    if (Chance(361)) Launch({FriendTeam, ModelFriend, 1, {0, 0, -2000}, true, 12.0f, true});
    if (Chance(241)) LaunchBomber({FlankLane(), 0, 6000});
    if (Chance(121))
        Launch({FriendTeam, ModelFriend, 1, {FlankLane(), 0, -5000}, true, 12.0f, true});
}

}  // namespace

void RunSchedule() {
    const GameObject& p = *world.head;
    // The session starts the player at exactly 1.0, and only then does the schedule start over.
    if (p.z == 1.0f) scheduleMark = 0;
    if (!(static_cast<float>(scheduleMark) < p.z)) return;
    if (IsWaveMark(scheduleMark)) {
        LaunchWave(scheduleMark);
    } else if (scheduleMark == LowPhaseMark) {
        RunLowPhase();
        Climb();
    } else {
        RunHighPhase();
    }
}

void AddWingmen(const GameObject& leader) {
    for (float above : {100.0f, -100.0f}) {
        AircraftObject copy;
        copy.kind = leader.kind;
        copy.health = leader.health;
        copy.team = leader.team;
        copy.speed = leader.speed;
        copy.model = leader.model == ModelPlayer ? ModelFriend : leader.model;
        copy.x = leader.x;
        copy.y = leader.y + above;
        copy.z = leader.z;
        copy.vx = leader.vx;
        copy.vy = leader.vy;
        copy.vz = leader.vz;
        copy.pitch = leader.pitch;
        copy.yaw = leader.yaw;
        copy.aimYaw = leader.aimYaw;
        // Wingmen trail the leader along its direction of flight.
        copy.z += leader.speed > 0.0f ? -500.0f : 500.0f;
        AppendObject(copy);
    }
}
