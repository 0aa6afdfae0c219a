// A fresh world for each gameplay test: the player's aircraft as head, far to the side of
// everything the test adds (but level with it along the course), no keys held, and the random
// sequence reset.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

#include "platform/seam.h"
#include "world/object_list.h"
#include "world/schedule.h"

inline std::set<int> heldKeys;

class WorldTest : public ::testing::Test {
  protected:
    AircraftObject* player = nullptr;

    void SetUp() override {
        world = World{};
        world.inGame = 1;  // the head flies by keys, so it stays out of the tests' way
        player = Add<AircraftObject>(0, 2000, 0);
        player->x = 100000;
        player->model = ModelPlayer;
        player->cruiseAltitude = 100000;
        heldKeys.clear();
        SetKeySource([](int vk) { return heldKeys.count(vk) > 0; });
        SeedRand(1);
        scheduleMark = 0;
    }
    void TearDown() override {
        if (world.head != nullptr) DestroyWorldObjects();
        world = World{};
        SetKeySource(nullptr);
        SeedRand(1);
    }

    // A new object of type T, initialised for its variant and appended at the tail.
    template <class T>
    T* Add(int team, float y, float z) {
        auto* o = new T;
        if constexpr (requires { o->gunner; })
            InitBomber(*o);
        else if constexpr (requires { o->cruiseAltitude; })
            InitAircraft(*o);
        else if constexpr (requires { o->target; })
            InitGunner(*o);
        else {
            InitGameObject(*o);
            o->kind = Explosion;  // a plain record is only ever an explosion
        }
        o->team = team;
        o->y = y;
        o->z = z;
        AppendObject(o);
        return o;
    }
    // A computer-flown aircraft at rest with its cruise altitude already chosen.
    AircraftObject* AddPilot(int team, float y, float z) {
        AircraftObject* a = Add<AircraftObject>(team, y, z);
        a->speed = 0;
        a->cruiseAltitude = y;
        return a;
    }
    GunnerObject* AddShot(int team, float y, float z) {
        GunnerObject* s = Add<GunnerObject>(team, y, z);
        s->kind = Shot;
        s->health = -40;
        s->model = ModelShot;
        return s;
    }

    // Where an object is, to compare in one go.
    static std::array<float, 3> Place(const GameObject* o) { return {o->x, o->y, o->z}; }
    static std::vector<GameObject*> OfKind(int kind) {
        std::vector<GameObject*> found;
        for (GameObject* o = world.head; o != nullptr; o = o->next)
            if (o->kind == kind) found.push_back(o);
        return found;
    }
    static int Length() {
        int n = 0;
        for (GameObject* o = world.head; o != nullptr; o = o->next) ++n;
        return n;
    }
    static GameObject* Tail() {
        GameObject* o = world.head;
        while (o->next != nullptr) o = o->next;
        return o;
    }
};
