// The object pass searches through its index; a plain walk of the list must give the very same
// world. Each crowded world is run both ways and compared field by field, frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "platform/seam.h"
#include "world/aircraft.h"
#include "world/flight.h"
#include "world/gunners.h"
#include "world/object_list.h"
#include "world/object_pass.h"

namespace {

// The pass as it was before the index: every search walks the list (the index is never open).
void WalkingPass() {
    for (GameObject* n = world.head; n != nullptr; n = n->next) {
        if (n->kind == Aircraft) UpdateAircraft(static_cast<AircraftObject&>(*n));
        if (n->kind == Shot) {
            if (n->pitch < 1.57f) n->pitch += 0.01f;
            IntegrateFlight(*n);
        }
        if (n->kind == Gunner) UpdateGunner(static_cast<GunnerObject&>(*n));
        if (n->health < 1) n->health -= 1;
        while (n->next != nullptr && n->next->health < -50) {
            GameObject* dead = n->next;
            if (dead->kind == Aircraft) SpawnExplosion(*dead)->health = 0;
            n->next = dead->next;
            ForgetTarget(dead);
            DeleteObject(dead);
        }
    }
}

// Both sides crowded into a small box, so that collisions, catches and target choices are many;
// a shot with no position and objects of an unknown kind or side must be judged alike too.
void Crowd(uint32_t seed, int count) {
    std::mt19937 draw(seed);
    auto in = [&](int span) { return static_cast<float>(static_cast<int>(draw() % span)); };
    world = World{};
    world.baseAltitude = 1000.0f;
    auto* player = new AircraftObject;
    InitAircraft(*player);
    player->y = 2000.0f;
    player->health = 1000;
    AppendObject(player);
    for (int i = 0; i < count; ++i) {
        GameObject* o = nullptr;
        switch (draw() % 8) {
            case 0:
            case 1: {
                auto* a = new AircraftObject;
                InitAircraft(*a);
                o = a;
                break;
            }
            case 2: {
                auto* b = new BomberObject;
                InitBomber(*b);
                o = b;
                break;
            }
            case 3: {
                auto* g = new GunnerObject;
                InitGunner(*g);
                o = g;
                break;
            }
            case 4:
            case 5:
            case 6: {
                auto* s = new GunnerObject;
                InitGameObject(*s);
                s->kind = Shot;
                s->health = -40 + static_cast<int>(draw() % 30);
                s->vz = in(400) - 200.0f;
                o = s;
                break;
            }
            default:
                o = new GameObject;
                InitGameObject(*o);
                o->kind = draw() % 4 == 0 ? 9 : Explosion;
                o->health = -30;
        }
        o->team = draw() % 16 == 0 ? 2 : static_cast<int32_t>(draw() % 2);
        if (o->kind == Aircraft) o->health = 1 + static_cast<int>(draw() % 12);
        o->x = in(300);
        o->y = 1200.0f + in(1500);
        o->z = in(3000);
        AppendObject(o);
    }
    GameObject* lost = new GunnerObject;
    InitGameObject(*lost);
    lost->kind = Shot;
    lost->health = -45;
    lost->x = std::nanf("");
    AppendObject(lost);
}

// Every field of every object, its target as a place in the list, and the next random draw.
std::vector<int64_t> Snapshot() {
    std::vector<const GameObject*> order;
    for (const GameObject* o = world.head; o != nullptr; o = o->next) order.push_back(o);
    auto placeOf = [&](const GameObject* t) -> int64_t {
        for (std::size_t i = 0; i < order.size(); ++i)
            if (order[i] == t) return static_cast<int64_t>(i);
        return t == nullptr ? -1 : -2;
    };
    std::vector<int64_t> fields;
    auto bits = [&](float f) {
        uint32_t u;
        std::memcpy(&u, &f, sizeof u);
        fields.push_back(u);
    };
    for (const GameObject* o : order) {
        fields.insert(fields.end(), {o->kind, o->health, o->team, o->model});
        for (float f : {o->speed, o->x, o->y, o->z, o->vx, o->vy, o->vz, o->pitch, o->yaw}) bits(f);
        if (o->kind == Aircraft) {
            const auto& a = static_cast<const AircraftObject&>(*o);
            bits(a.cruiseAltitude);
            fields.push_back(placeOf(a.target));
            if (a.hasGunner == 1)
                fields.push_back(placeOf(static_cast<const BomberObject&>(a).gunner.target));
        }
        if (o->kind == Gunner)
            fields.push_back(placeOf(static_cast<const GunnerObject*>(o)->target));
    }
    fields.push_back(Rand());
    return fields;
}

struct Played {
    std::vector<std::vector<int64_t>> states;
    int targetsHeld = 0;  // over all frames
    int explosions = 0;   // in the last frame
};

Played Play(uint32_t seed, int count, int frames, void (*pass)()) {
    Crowd(seed, count);
    SeedRand(seed);
    Played played;
    for (int frame = 0; frame < frames; ++frame) {
        pass();
        played.states.push_back(Snapshot());
        played.explosions = 0;
        for (GameObject* o = world.head; o != nullptr; o = o->next) {
            played.explosions += o->kind == Explosion;
            if (o->kind == Aircraft && static_cast<AircraftObject*>(o)->target != nullptr)
                ++played.targetsHeld;
        }
    }
    DestroyWorldObjects();
    return played;
}

TEST(ObjectIndexTest, CrowdedWorldsFareExactlyAsWithWalksOfTheList) {
    SetKeySource(nullptr);
    for (uint32_t seed : {1u, 2u, 3u}) {
        const int count = 200 + static_cast<int>(seed) * 100;
        const Played walked = Play(seed, count, 30, WalkingPass);
        const Played indexed = Play(seed, count, 30, [] { ObjectPass(nullptr); });
        ASSERT_EQ(walked.states.size(), indexed.states.size());
        for (std::size_t frame = 0; frame < walked.states.size(); ++frame)
            ASSERT_EQ(walked.states[frame], indexed.states[frame])
                << "seed " << seed << " frame " << frame;
        // The crowd must really have fought and chased, or the comparison proves little.
        EXPECT_GT(walked.explosions, count / 4);
        EXPECT_GT(walked.targetsHeld, count / 4);
    }
    SeedRand(1);
}

}  // namespace
