// The object pass searches through its index; searches that walk the list must give the very same
// world. Each crowded world is run by the pass both ways and compared field by field, frame by
// frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "platform/seam.h"
#include "tests/unit/world_builder.h"
#include "world/object_pass.h"

namespace {

// Both sides crowded into a small box, so that collisions, catches and target choices are many;
// a shot with no position must be judged alike too.
void Crowd(uint32_t seed, int count) {
    std::mt19937 draw(seed);
    auto in = [&](int span) { return static_cast<float>(static_cast<int>(draw() % span)); };
    world = World{};
    world.baseAltitude = 1000.0f;
    AddAircraft(0, 2000.0f, 0)->health = 1000;
    for (int i = 0; i < count; ++i) {
        const auto team = static_cast<int32_t>(draw() % 2);
        const float x = in(300), y = 1200.0f + in(1500), z = in(3000);
        switch (draw() % 8) {
            case 0:
            case 1:
                AddAircraft(team, y, z, x)->health = 1 + static_cast<int>(draw() % 12);
                break;
            case 2:
                AddBomber(team, y, z, x)->health = 1 + static_cast<int>(draw() % 12);
                break;
            case 3:
                AddWarship(team, y, z, x);
                break;
            case 4:
            case 5:
            case 6: {
                GunnerObject* s = AddShot(team, y, z, x);
                s->health = -40 + static_cast<int>(draw() % 30);
                s->vz = in(400) - 200.0f;
                break;
            }
            default:
                AddExplosion(team, y, z, x);
        }
    }
    AddShot(0, 2000.0f, 0, std::nanf(""))->health = -45;
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

Played Play(uint32_t seed, int count, int frames, bool indexed) {
    Crowd(seed, count);
    SeedRand(seed);
    Played played;
    for (int frame = 0; frame < frames; ++frame) {
        ObjectPass(nullptr, indexed);
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
    frameInput = {};
    for (uint32_t seed : {1u, 2u, 3u}) {
        const int count = 200 + static_cast<int>(seed) * 100;
        const Played walked = Play(seed, count, 30, false);
        const Played indexed = Play(seed, count, 30, true);
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
