// What the world tells its listener: a scripted fight told in order, each event once, from the
// object it is about.
#include <vector>

#include "tests/unit/world_fixture.h"
#include "world/object_pass.h"
#include "world/shots.h"

namespace {

struct Told {
    int frame;
    WorldEventKind kind;
    const void* source;
};

std::vector<Told> told;
int frameNow = 0;

class WorldEventsTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        told.clear();
        SetWorldEventListener([](const WorldEvent& e) {
            told.push_back({frameNow, e.kind, e.source});
        });
    }
    void TearDown() override {
        SetWorldEventListener(nullptr);
        WorldTest::TearDown();
    }
    static void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            ++frameNow;
            ObjectPass(nullptr);
        }
    }
};

TEST_F(WorldEventsTest, AScriptedFightIsToldInListOrderAndEachDeathOnce) {
    frameNow = 0;
    // A bomber on its last hit point with a friendly shot on it, a warship aiming at a friendly
    // pilot far from both, and the player firing in the first frame only.
    BomberObject* bomber = AddBomber(EnemyTeam, 1000, 5000);
    bomber->health = 1;
    AddShot(FriendTeam, 1000, 5000);
    GunnerObject* ship = AddWarship(EnemyTeam, 240, 20000);
    AircraftObject* pilot = AddPilot(FriendTeam, 740, 21000);
    ship->target = pilot;
    Hold({VK_SPACE});
    Frames(1);
    Hold({});

    // The list's order: the player fires; the shot brings the bomber down and is caught again by
    // its hull and, close, once more; the warship fires at its target.
    std::vector<std::pair<WorldEventKind, const void*>> first;
    for (const Told& t : told)
        if (t.frame == 1) first.emplace_back(t.kind, t.source);
    const std::vector<std::pair<WorldEventKind, const void*>> expected = {
        {PlayerShot, player},   {BomberDown, bomber},   {HitExplosion, bomber},
        {HitExplosion, bomber}, {HitExplosion, bomber}, {WarshipShot, ship}};
    EXPECT_EQ(first, expected);

    // The wreck burns, told once a frame, until it leaves the list in its last explosion: after
    // frame 1 its health is -3 (the three hits and the pass's countdown), one less each frame
    // after, below -50 after frame 49.
    Frames(60);
    std::vector<std::pair<int, WorldEventKind>> wreck, burnsThenLeaves;
    for (const Told& t : told)
        if (t.source == bomber && t.frame > 1) wreck.emplace_back(t.frame, t.kind);
    for (int frame = 2; frame < 50; ++frame) burnsThenLeaves.emplace_back(frame, CrashExplosion);
    burnsThenLeaves.emplace_back(50, AircraftRemoved);
    EXPECT_EQ(wreck, burnsThenLeaves);
}

TEST_F(WorldEventsTest, ShotsSayWhoFired) {
    BomberObject* bomber = AddBomber(EnemyTeam, 1000, 5000);
    GunnerObject* ship = AddWarship(EnemyTeam, 240, 20000);
    AircraftObject* pilot = AddPilot(FriendTeam, 1000, 6000);
    for (const GameObject* shooter :
         {static_cast<const GameObject*>(player), static_cast<const GameObject*>(&bomber->gunner),
          static_cast<const GameObject*>(ship), static_cast<const GameObject*>(pilot)})
        SpawnShot(*shooter);
    ASSERT_EQ(told.size(), 4u);
    EXPECT_EQ(told[0].kind, PlayerShot);
    EXPECT_EQ(told[1].kind, GunnerShot);
    EXPECT_EQ(told[1].source, &bomber->gunner);
    EXPECT_EQ(told[2].kind, WarshipShot);
    EXPECT_EQ(told[3].kind, AircraftShot);
    EXPECT_EQ(told[3].source, pilot);
}

}  // namespace
