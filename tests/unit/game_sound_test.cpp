// The world's events as the game's voices: one gun voice per shooter, loudness falling with the
// distance from the camera, the pan from the place on the screen, the demonstration softer, and
// the engine. The mute switch is heard, or not, in the window tests.
#include "app/game_sound.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/mixer.h"
#include "platform/seam.h"
#include "render/camera.h"
#include "tests/unit/game_sound_files.h"

namespace {

class GameSoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world = World{};
        world.inGame = 1;
        StartGameSoundFromSourceTree();
        cameraEye = {3000.0f, 1000.0f, 200.0f};  // the camera of a player at (0, 1000, 0)
    }
    void TearDown() override {
        StopGameSound();
        world = World{};
    }
    static std::vector<Voice> Playing() {
        std::vector<Voice> playing;
        for (const Voice& v : gameMixer.voices)
            if (v.samples != nullptr) playing.push_back(v);
        return playing;
    }
};

TEST_F(GameSoundTest, EventsBecomeVoicesPlacedAndScaledAsSeen) {
    const int a = 0, b = 0;
    TellWorld(AircraftShot, 0, 1000, 200, &a);
    TellWorld(AircraftShot, 0, 1000, 200, &a);  // the same shooter: the same voice again
    ASSERT_EQ(Playing().size(), 1u);
    const float near = Playing()[0].gain;
    EXPECT_GT(near, 0.0f);

    EXPECT_NEAR(Playing()[0].targetLeft, Playing()[0].targetRight, 1e-6f);  // mid-screen

    // Four times as far from the camera: a quarter of the gain.
    StopAllVoices(gameMixer);
    TellWorld(AircraftShot, -9000, 1000, 200, &b);
    ASSERT_EQ(Playing().size(), 1u);
    EXPECT_NEAR(Playing()[0].gain, near / 4.0f, 1e-5f);
    // To the right on the screen: louder on the right.
    StopAllVoices(gameMixer);
    TellWorld(AircraftShot, 0, 1000, 1200, &b);
    ASSERT_EQ(Playing().size(), 1u);
    EXPECT_GT(Playing()[0].targetRight, 2.0f * Playing()[0].targetLeft);

    // The demonstration's events are softer than a game's.
    StopAllVoices(gameMixer);
    world.inGame = 0;
    TellWorld(AircraftShot, 0, 1000, 200, &a);
    ASSERT_EQ(Playing().size(), 1u);
    EXPECT_LT(Playing()[0].gain, 0.5f * near);

    // Far beyond anything on the screen: no voice spent on it.
    StopAllVoices(gameMixer);
    TellWorld(BomberDown, -200000, 1000, 0, &b);
    EXPECT_TRUE(Playing().empty());
}

TEST_F(GameSoundTest, TheEngineFollowsTheSpeedOnlyInAGame) {
    AircraftObject player;
    player.speed = 6.5f;
    SoundFrame(player, true);
    ASSERT_EQ(Playing().size(), 1u);
    const uint64_t slow = Playing()[0].step;
    EXPECT_TRUE(Playing()[0].loop);
    player.speed = 13.0f;
    SoundFrame(player, true);
    ASSERT_EQ(Playing().size(), 1u);
    EXPECT_NEAR(static_cast<double>(Playing()[0].step) / slow, 2.0, 1e-6);
    SoundFrame(player, false);
    EXPECT_TRUE(Playing()[0].stopping);
}

}  // namespace
