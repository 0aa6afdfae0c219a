// A fresh world for each gameplay test: the player's aircraft as head, far to the side of
// everything the test adds (but level with it along the course), no keys held, and the random
// sequence reset.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "platform/seam.h"
#include "tests/unit/scripted_rand.h"
#include "tests/unit/world_builder.h"
#include "world/schedule.h"

// The keys held in this frame's input, as the world reads them.
inline void Hold(std::initializer_list<int> keys) {
    frameInput = {};
    for (int key : keys) frameInput.keys |= InputBit(key);
}

class WorldTest : public ::testing::Test {
  protected:
    AircraftObject* player = nullptr;

    void SetUp() override {
        world = World{};
        world.inGame = 1;  // the head flies by keys, so it stays out of the tests' way
        player = AddAircraft(0, 2000, 0, 100000);
        player->model = ModelPlayer;
        player->cruiseAltitude = 100000;
        frameInput = {};
        UnscriptRand();
        SeedRand(1);
        scheduleMark = 0;
    }
    void TearDown() override {
        if (world.head != nullptr) DestroyWorldObjects();
        world = World{};
        frameInput = {};
        UnscriptRand();
        SeedRand(1);
    }

    // A computer-flown aircraft at rest with its cruise altitude already chosen.
    static AircraftObject* AddPilot(int team, float y, float z) {
        AircraftObject* a = AddAircraft(team, y, z);
        a->speed = 0;
        a->cruiseAltitude = y;
        return a;
    }

    static std::vector<GameObject*> OfKind(int kind) {
        std::vector<GameObject*> found;
        for (GameObject* o = world.head; o != nullptr; o = o->next)
            if (o->kind == kind) found.push_back(o);
        return found;
    }
    static GameObject* Tail() {
        GameObject* o = world.head;
        while (o->next != nullptr) o = o->next;
        return o;
    }
};
