// The window's game controllers, driven through SDL's virtual joystick: plugged in while the
// game runs, read as the keys the game polls, and let go when unplugged.
#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/session.h"
#include "platform/core/null_device.h"
#include "platform/host.h"
#include "platform/sdl/sdl_host.h"
#include "platform/seam.h"
#include "world/object_list.h"

namespace {

class SdlPads : public ::testing::Test {
  protected:
    std::unique_ptr<SdlHost> window;
    SDL_Joystick* stick = nullptr;
    int device = -1;

    void SetUp() override {
        // The offscreen window never has the keyboard focus, without which SDL holds back a
        // pad's presses (as it should for a game in the background).
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        window = SdlHost::Create("Marvaze test", 64, 64);
        ASSERT_NE(window, nullptr);
        host = window.get();
        Pump();
    }
    void TearDown() override {
        if (stick != nullptr) SDL_JoystickClose(stick);
        if (device >= 0) SDL_JoystickDetachVirtual(device);
        host = nullptr;
        window.reset();
    }

    // A virtual pad with every button and axis of a game controller, triggers at rest.
    // The pump, and the frame's input read right after it, as the session loop does.
    void Pump() {
        window->PumpMessages();
        frameInput = window->ReadInput();
    }
    void PlugIn() {
        SDL_VirtualJoystickDesc pad{};
        pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        pad.naxes = SDL_CONTROLLER_AXIS_MAX;
        pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pad.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        pad.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        pad.name = "Marvaze test pad";
        device = SDL_JoystickAttachVirtualEx(&pad);
        ASSERT_GE(device, 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(device)) << "SDL made no controller of the virtual pad";
        stick = SDL_JoystickOpen(device);
        ASSERT_NE(stick, nullptr) << SDL_GetError();
        Pump();
    }
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(stick, button, down ? SDL_PRESSED : SDL_RELEASED);
        SDL_JoystickUpdate();  // SDL reads the pad now, as it would between two pumps
    }
    void Axis(SDL_GameControllerAxis axis, int16_t value) {
        SDL_JoystickSetVirtualAxis(stick, axis, value);
        SDL_JoystickUpdate();
    }
    void Unplug() {
        SDL_JoystickClose(stick);
        stick = nullptr;
        SDL_JoystickDetachVirtual(device);
        device = -1;
    }
};

constexpr int PadVirtualKeys[] = {VK_UP,    VK_DOWN,   VK_LEFT,  VK_RIGHT,
                                  VK_SPACE, VK_RETURN, VK_ESCAPE};

bool AnyPadKeyDown() {
    for (int key : PadVirtualKeys)
        if (KeyDown(key)) return true;
    return false;
}

TEST_F(SdlPads, StartTappedBetweenTwoPumpsReadsAsEnterOnce) {
    PlugIn();
    EXPECT_FALSE(AnyPadKeyDown());  // a pad at rest holds nothing, its triggers included
    Button(SDL_CONTROLLER_BUTTON_START, true);
    Button(SDL_CONTROLLER_BUTTON_START, false);
    Pump();
    EXPECT_TRUE(KeyDown(VK_RETURN));
    EXPECT_FALSE(KeyDown(VK_ESCAPE));
    Pump();
    EXPECT_FALSE(KeyDown(VK_RETURN));
}

TEST_F(SdlPads, ButtonsReadAsTheirKeysWhileHeld) {
    PlugIn();
    struct Case {
        SDL_GameControllerButton button;
        int key;
    } cases[] = {
        {SDL_CONTROLLER_BUTTON_A, VK_SPACE},          {SDL_CONTROLLER_BUTTON_B, VK_ESCAPE},
        {SDL_CONTROLLER_BUTTON_BACK, VK_ESCAPE},      {SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},   {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT}, {SDL_CONTROLLER_BUTTON_X, 0}};
    for (const Case& c : cases) {
        Button(c.button, true);
        for (int pump = 0; pump < 3; ++pump) {
            Pump();
            for (int key : PadVirtualKeys) EXPECT_EQ(KeyDown(key), key == c.key) << c.button;
        }
        Button(c.button, false);
        Pump();
        Pump();
        EXPECT_FALSE(AnyPadKeyDown()) << c.button;
    }
}

TEST_F(SdlPads, TheStickAndTheTriggerHoldPastTheirDeadZones) {
    PlugIn();
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -2000);  // a stick resting a little off centre
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 3000);
    Pump();
    EXPECT_FALSE(AnyPadKeyDown());
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);  // SDL's up is negative
    for (int pump = 0; pump < 3; ++pump) {
        Pump();
        EXPECT_TRUE(KeyDown(VK_UP));
        EXPECT_FALSE(KeyDown(VK_DOWN));
    }
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    Pump();
    Pump();
    EXPECT_TRUE(KeyDown(VK_DOWN) && KeyDown(VK_LEFT));
    EXPECT_FALSE(KeyDown(VK_UP) || KeyDown(VK_RIGHT));
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    Pump();
    Pump();
    EXPECT_TRUE(KeyDown(VK_SPACE));
    EXPECT_FALSE(KeyDown(VK_UP) || KeyDown(VK_DOWN) || KeyDown(VK_LEFT));
    Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);  // the left trigger does nothing
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    Pump();
    Pump();
    EXPECT_FALSE(AnyPadKeyDown());
}

TEST_F(SdlPads, UnpluggingAPadLetsGoOfItsKeys) {
    PlugIn();
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Pump();
    Pump();
    ASSERT_TRUE(KeyDown(VK_RIGHT) && KeyDown(VK_SPACE));
    Unplug();
    Pump();
    Pump();
    EXPECT_FALSE(AnyPadKeyDown());
    // Plugged in again, it is read again.
    PlugIn();
    Button(SDL_CONTROLLER_BUTTON_B, true);
    Pump();
    EXPECT_TRUE(KeyDown(VK_ESCAPE));
}

// The window as the session loop's host, with something done to the pad before each pump; the
// window closes after `lastFrame` frames.
struct PadDriver : Host {
    Host& window;
    std::function<void(int)> beforePump;
    int lastFrame;
    int frame = 0;
    PadDriver(Host& w, std::function<void(int)> before, int last)
        : window(w), beforePump(std::move(before)), lastFrame(last) {}
    bool PumpMessages() override {
        if (++frame > lastFrame) return true;
        beforePump(frame);
        return window.PumpMessages();
    }
    FrameInput ReadInput() override { return window.ReadInput(); }
    uint32_t Ticks() override { return window.Ticks(); }
    void Sleep(uint32_t) override {}
    void ShowMessageBox(const std::string&, const std::string&) override {}
};

TEST_F(SdlPads, StartOnTheMenuStartsAGameAndTheStickHeldFlies) {
    PlugIn();
    NullDevice nothing;
    ::device = &nothing;
    menuLatches = MenuLatches{};
    // Start pressed on frame 3 and released on frame 5: the menu confirms GAME START.
    PadDriver menu(
        *window,
        [this](int frame) {
            if (frame == 3) Button(SDL_CONTROLLER_BUTTON_START, true);
            if (frame == 5) Button(SDL_CONTROLLER_BUTTON_START, false);
        },
        40);
    host = &menu;
    world.inGame = 0;
    EXPECT_EQ(RunSession(), Advance);
    EXPECT_LT(menu.frame, 40);
    DestroyWorldObjects();

    // In the game, the stick held up from frame 2 raises the nose; let go at frame 20, it stops.
    world.inGame = 1;
    float pitchHeld = 0, pitchLetGo = 0;
    PadDriver game(
        *window,
        [&](int frame) {
            if (frame == 2) Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
            if (frame == 3) pitchHeld = world.head->pitch;
            if (frame == 20) {
                pitchHeld -= world.head->pitch;
                Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
            }
            if (frame == 21) pitchLetGo = world.head->pitch;
            if (frame == 24) pitchLetGo -= world.head->pitch;
        },
        24);
    host = &game;
    EXPECT_EQ(RunSession(), Closed);
    EXPECT_FALSE(KeyDown(VK_UP));
    DestroyWorldObjects();
    world = World{};
    ::device = nullptr;
    EXPECT_GT(pitchHeld, 0.0f);  // positive pitch is nose down
    EXPECT_LE(pitchLetGo, 0.0f);
}

}  // namespace
