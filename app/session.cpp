#include "app/session.h"

#include <ctime>

#include "app/demo.h"
#include "app/game_sound.h"
#include "app/screen_sprites.h"
#include "platform/device.h"
#include "platform/host.h"
#include "platform/seam.h"
#include "render/camera.h"
#include "render/quads.h"
#include "render/sky.h"
#include "render/tiles.h"
#include "world/object_list.h"
#include "world/object_pass.h"
#include "world/schedule.h"

using namespace dev;

MenuLatches menuLatches;

uint32_t CalendarSeed() { return static_cast<uint32_t>(std::time(nullptr)); }
uint32_t (*sessionSeed)() = CalendarSeed;

namespace {

constexpr int32_t MenuRespawnHealth = 10;
constexpr int32_t DeadLongEnough = -50;
constexpr int32_t GameOverHealth = -150;

void StartSession(int32_t& lives) {
    SeedRand(sessionSeed());
    // The list is empty here, so the player's aircraft becomes its head.
    AircraftObject player;
    player.model = ModelPlayer;
    player.y = 500.0f;
    player.z = 1.0f;  // exact: the schedule starts over when it sees this
    player.vz = 300.0f;
    if (world.inGame == 0) player.health = MenuRespawnHealth;
    AppendObject(player);
    world.baseAltitude = 0.0f;
    lives = 3;
}

void Respawn(GameObject& player, int32_t health) {
    player.health = health;
    player.y = world.baseAltitude + 1000.0f;
    player.pitch = 0.0f;
    player.speed = 10.0f;
}

// The menu's keys, first held key deciding; true with `result` set when an entry is confirmed.
bool MenuKeys(SessionResult& result) {
    MenuLatches& m = menuLatches;
    const int32_t before = m.menuSelection;
    if (KeyDown(VK_W) || KeyDown(VK_UP)) {
        if (m.menuKeysReleased) m.menuSelection = 0;
        m.menuKeysReleased = false;
    } else if (KeyDown(VK_S) || KeyDown(VK_DOWN)) {
        if (m.menuKeysReleased) m.menuSelection = 1;
        m.menuKeysReleased = false;
    } else if (KeyDown(VK_RETURN) || KeyDown(VK_SPACE)) {
        bool fresh = m.menuKeysReleased;
        m.menuKeysReleased = false;
        if (fresh) {
            PlayMenuSound(MenuEntryConfirmed);
            result = static_cast<SessionResult>(m.menuSelection);
            return true;
        }
    } else {
        m.menuKeysReleased = true;
    }
    if (m.menuSelection != before) PlayMenuSound(MenuCursorMoved);
    return false;
}

bool MenuOverlay(SessionResult& result) {
    GameObject& player = *world.head;
    if (player.health < DeadLongEnough) {
        Respawn(player, MenuRespawnHealth);
    }
    MenuLatches& m = menuLatches;
    m.cursorOffset += m.menuSelection != 0 ? 5 : -5;
    if (m.cursorOffset < 0) m.cursorOffset = 0;
    if (m.cursorOffset > 50) m.cursorOffset = 50;

    EnsureScreenImages();
    DrawScreenSprite(Title, 320, 50);
    DrawScreenSprite(GameStart, 120, 120);
    DrawScreenSprite(GameOver, 120, 170);
    DrawScreenSprite(GameSelect, 120, static_cast<float>(120 + m.cursorOffset));
    return MenuKeys(result);
}

bool GameOverlay(int32_t& lives, SessionResult& result) {
    GameObject& player = *world.head;
    DrawScreenSprite(Life, 80, 440);
    DrawNumber(lives);
    if (player.health < DeadLongEnough && lives > 0) {
        Respawn(player, 1);
        --lives;
    }
    if (player.health < GameOverHealth) {
        result = Advance;
        return true;
    }
    return false;
}

}  // namespace

SessionResult RunSession() {
    int32_t lives = 0;
    StartSession(lives);
    for (;;) {
        uint32_t frameStart = host->Ticks();
        if (host->PumpMessages()) return Closed;
        if (!TakeFrameInput()) return Closed;

        device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        UpdateCamera(*world.head);
        SoundFrame(*world.head, world.inGame != 0);
        // Read on the first frame that reaches it, and never again, even if it failed.
        SkyMesh sky = LoadSky();
        if (sky.materials != nullptr) DrawSky(sky);
        DrawSurfaceTiles(*world.head);
        RunSchedule();
        ObjectPass(DrawObject);

        SessionResult result = Advance;
        bool ended = world.inGame == 0 ? MenuOverlay(result) : GameOverlay(lives, result);
        device->EndScene();
        // Ending here skips the present, the pacing and the Escape test, but never leaves the
        // scene open for the next session's first frame.
        if (ended) return result;
        device->Present();

        uint32_t elapsed = host->Ticks() - frameStart;
        if (!FramesPaced())
            host->Sleep(0);  // a demo being timed: unpaced, but the host may yield
        else if (elapsed < FrameMilliseconds)
            host->Sleep(FrameMilliseconds - elapsed);

        if (!KeyDown(VK_ESCAPE)) {
            menuLatches.escapeReleased = true;
        } else if (menuLatches.escapeReleased) {
            menuLatches.escapeReleased = false;
            return Back;
        }
    }
}
