// The records of everything in the game world and the one world record that heads their list.
#pragma once

#include <cstdint>

enum ObjectKind : int32_t {
    Aircraft = 0,
    Shot = 1,
    Gunner = 2,
    Explosion = 3,
};

// The base record every object begins with; `next` links the object list.
struct GameObject {
    int32_t kind = Aircraft;
    int32_t health = 1;  // hit points while positive; a death countdown at 0 and below
    int32_t team = 0;    // 0 the player's side, 1 the enemy
    float speed = 10.0f;
    int32_t model = 1;
    float x = 0, y = 0, z = 0;
    float vx = 0, vy = 0, vz = 0;
    float pitch = 0;  // positive is nose down
    float yaw = 0;
    float aimYaw = 0;
    GameObject* next = nullptr;
};

// A warship, a bomber's gunner, or a shot (whose target stays null).
struct GunnerObject : GameObject {
    GameObject* target = nullptr;
};

struct AircraftObject : GameObject {
    int32_t hasGunner = 0;
    float cruiseAltitude = 0;
    GameObject* target = nullptr;
};

// A bomber carries its gunner by value: never linked, never drawn, freed with the bomber.
struct BomberObject : AircraftObject {
    GunnerObject gunner;
};

struct World {
    GameObject* head = nullptr;  // the player's aircraft while a session runs
    int32_t inGame = 0;          // 0 menu (demonstration), 1 game
    float baseAltitude = 0;      // bottom of the flight band
};

extern World world;

// Model codes that objects carry.
constexpr int32_t ModelShot = 0;
constexpr int32_t ModelFriend = 1;
constexpr int32_t ModelPlayer = 2;
constexpr int32_t ModelBomber = 13;
constexpr int32_t ModelExplosion = 52;
constexpr int32_t ModelSea = 100;
constexpr int32_t ModelGround = 101;
constexpr int32_t ModelWarship = 150;
