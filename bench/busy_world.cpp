#include "bench/busy_world.h"

#include "platform/seam.h"
#include "tests/unit/world_builder.h"
#include "world/schedule.h"

void Populate(int count) {
    DestroyWorldObjects();
    SeedRand(99);
    world = World{};
    world.baseAltitude = 12000.0f;
    scheduleMark = 1;
    AircraftObject* player = AddAircraft(0, 13500.0f, 90000.0f);
    player->model = ModelPlayer;
    player->vz = 110.0f;
    player->health = 10;
    for (int i = 1; i < count; ++i) {
        float z = player->z + static_cast<float>(Rand() % 8000 - 4000);
        float y = 12500.0f + static_cast<float>(Rand() % 2500);
        float x = -static_cast<float>(Rand() % 4000);
        int share = i % 50;
        if (share < 4) {
            const int32_t team = share % 2;
            AddAircraft(team, y, z, x)->model = team == FriendTeam ? ModelFriend : ModelFighter;
        } else if (share < 5) {
            AddBomber(EnemyTeam, y, z, x)->speed = 8.0f;
        } else if (share < 6) {
            AddWarship(EnemyTeam, 240.0f, z, x);
        } else if (share < 35) {
            GunnerObject* s = AddShot(Rand() % 2, y, z, x);
            s->health = -40 + Rand() % 10;
            s->vz = 200.0f;
        } else {
            AddExplosion(0, y, z, x)->health = -30 + Rand() % 20;
        }
    }
}
