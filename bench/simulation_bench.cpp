// The world's cost per frame: the schedule and the object pass, with 100, 500 and 2000 objects
// in the list, mixed as in a busy high-altitude fight.
#include <benchmark/benchmark.h>

#include "platform/seam.h"
#include "world/object_list.h"
#include "world/object_pass.h"
#include "world/schedule.h"

namespace {

// A player far along the course, aircraft of both sides around it, bombers, warships, shots and
// explosions: 8% aircraft, 2% bombers, 2% warships, 58% shots, 30% explosions.
void Populate(int count) {
    DestroyWorldObjects();
    SeedRand(99);
    world = World{};
    world.baseAltitude = 12000.0f;
    scheduleMark = 1;
    auto* player = new AircraftObject;
    InitAircraft(*player);
    player->model = ModelPlayer;
    player->y = 13500.0f;
    player->z = 90000.0f;
    player->vz = 110.0f;
    player->health = 10;
    AppendObject(player);
    // Linked here directly: appending one by one walks the list each time.
    GameObject* tail = player;
    for (int i = 1; i < count; ++i) {
        float z = player->z + static_cast<float>(Rand() % 8000 - 4000);
        float y = 12500.0f + static_cast<float>(Rand() % 2500);
        float x = -static_cast<float>(Rand() % 4000);
        int share = i % 50;
        GameObject* o;
        if (share < 4) {
            auto* a = new AircraftObject;
            InitAircraft(*a);
            a->team = share % 2;
            a->model = a->team == 0 ? ModelFriend : 11;
            o = a;
        } else if (share < 5) {
            auto* b = new BomberObject;
            InitBomber(*b);
            b->team = 1;
            b->speed = 8.0f;
            o = b;
        } else if (share < 6) {
            auto* g = new GunnerObject;
            InitGunner(*g);
            y = 240.0f;
            o = g;
        } else if (share < 35) {
            auto* s = new GunnerObject;
            InitGameObject(*s);
            s->kind = Shot;
            s->model = ModelShot;
            s->team = Rand() % 2;
            s->health = -40 + Rand() % 10;
            s->vz = 200.0f;
            o = s;
        } else {
            o = new GameObject;
            InitGameObject(*o);
            o->kind = Explosion;
            o->model = ModelExplosion;
            o->health = -30 + Rand() % 20;
        }
        o->x = x;
        o->y = y;
        o->z = z;
        tail->next = o;
        tail = o;
    }
}

void Frame(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Populate(count);
        state.ResumeTiming();
        RunSchedule();
        ObjectPass(nullptr);
    }
    DestroyWorldObjects();
}

}  // namespace

BENCHMARK(Frame)->Arg(100)->Arg(230)->Arg(500)->Arg(2000)->Unit(benchmark::kMicrosecond);
