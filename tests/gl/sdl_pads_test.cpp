// The window's game controllers, driven through SDL's virtual joystick: SDL's buttons, stick and
// trigger reach the pad mapping the rings share (whose rules pad_keys_test checks) as its own
// conventions want them, a tap between two frames counts once, and unplugging lets go.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/host.h"
#include "platform/sdl/sdl_host.h"
#include "platform/seam.h"

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

uint16_t PadKeysDown() {
    uint16_t keys = 0;
    for (int key : PadVirtualKeys)
        if (KeyDown(key)) keys |= InputBit(key);
    return keys;
}

TEST_F(SdlPads, ButtonsStickAndTriggerReadAsKeysAndATapCountsOnce) {
    PlugIn();
    EXPECT_EQ(PadKeysDown(), 0);  // a pad at rest holds nothing, its triggers included
    // Each of SDL's buttons reaches the field it stands for.
    struct Case {
        SDL_GameControllerButton button;
        int key;
    } cases[] = {
        {SDL_CONTROLLER_BUTTON_A, VK_SPACE},         {SDL_CONTROLLER_BUTTON_B, VK_ESCAPE},
        {SDL_CONTROLLER_BUTTON_BACK, VK_ESCAPE},     {SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},  {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT}};
    for (const Case& c : cases) {
        Button(c.button, true);
        Pump();
        Pump();
        EXPECT_EQ(PadKeysDown(), InputBit(c.key)) << c.button;
        Button(c.button, false);
        Pump();
        Pump();
    }
    // Start tapped between two pumps: Enter for one frame.
    Button(SDL_CONTROLLER_BUTTON_START, true);
    Button(SDL_CONTROLLER_BUTTON_START, false);
    Pump();
    EXPECT_EQ(PadKeysDown(), InputBit(VK_RETURN));
    Pump();
    EXPECT_EQ(PadKeysDown(), 0);
    // SDL's stick grows downwards and its trigger reaches 32767: up is up, the trigger fires.
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    Pump();
    Pump();
    EXPECT_EQ(PadKeysDown(), InputBit(VK_UP) | InputBit(VK_SPACE));
}

TEST_F(SdlPads, UnpluggingAPadLetsGoOfItsKeys) {
    PlugIn();
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Pump();
    Pump();
    ASSERT_EQ(PadKeysDown(), InputBit(VK_RIGHT) | InputBit(VK_SPACE));
    Unplug();
    Pump();
    Pump();
    EXPECT_EQ(PadKeysDown(), 0);
    // Plugged in again, it is read again.
    PlugIn();
    Button(SDL_CONTROLLER_BUTTON_B, true);
    Pump();
    EXPECT_EQ(PadKeysDown(), InputBit(VK_ESCAPE));
}

}  // namespace
