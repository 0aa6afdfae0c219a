// The records of everything in the game world and the one world record that heads their list.
#pragma once

#include <cstdint>

enum ObjectKind : int32_t {
    Aircraft = 0,
    Shot = 1,
    Gunner = 2,
    Explosion = 3,
};

// The two sides; every object is on one of them.
constexpr int32_t FriendTeam = 0;  // the player's
constexpr int32_t EnemyTeam = 1;

// Model codes that objects carry (and the tiles, which are only drawn).
constexpr int32_t ModelShot = 0;
constexpr int32_t ModelFriend = 1;  // friendly fighters and the player's wingmen
constexpr int32_t ModelPlayer = 2;
constexpr int32_t ModelScout = 10;  // 10 to 12: the enemy fighters
constexpr int32_t ModelFighter = 11;
constexpr int32_t ModelLateFighter = 12;
constexpr int32_t ModelBomber = 13;
constexpr int32_t ModelExplosion = 52;
constexpr int32_t ModelSea = 100;
constexpr int32_t ModelGround = 101;
constexpr int32_t ModelWarship = 150;

// The base record every object begins with; `next` links the object list. These initialisers
// are the defaults of every new object.
struct GameObject {
    int32_t kind = Aircraft;
    int32_t health = 1;  // hit points while positive; a death countdown at 0 and below
    int32_t team = FriendTeam;
    float speed = 10.0f;
    int32_t model = ModelFriend;
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

// The list's ends are kept by world/object_list alone.
struct World {
    GameObject* head = nullptr;  // the player's aircraft while a session runs
    GameObject* tail = nullptr;
    int32_t inGame = 0;      // 0 menu (demonstration), 1 game
    float baseAltitude = 0;  // bottom of the flight band
};

extern World world;
