#include "platform/web/web_input.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <array>
#include <cstring>

#include "platform/core/pad_keys.h"
#include "platform/seam.h"

// Calls into page.js.
EM_JS(void, StartTouchControls, (int up, int down, int left, int right, int fire, int ok, int back),
      { MarvazeTouch.start(up, down, left, right, fire, ok, back); });
EM_JS(void, ReleaseTouchKeys, (), { MarvazeTouch.release(); });
EM_JS(int, TakeTouchKeys, (), { return MarvazeTouch.take(); });
EM_JS(void, ToggleFullscreen, (), { MarvazePage.toggleFullscreen(); });

namespace {

// Keys by the place on the keyboard (the event's `code`), as the other rings read scan codes.
constexpr int F11 = 0x7A;
int VirtualKeyOf(const char* code) {
    static constexpr struct {
        const char* code;
        int key;
    } keys[] = {{"ArrowUp", VK_UP},
                {"ArrowDown", VK_DOWN},
                {"ArrowLeft", VK_LEFT},
                {"ArrowRight", VK_RIGHT},
                {"KeyW", VK_W},
                {"KeyS", VK_S},
                {"Enter", VK_RETURN},
                {"Space", VK_SPACE},
                {"Escape", VK_ESCAPE},
                {"KeyM", VK_M},
                {"F11", F11}};
    for (const auto& k : keys)
        if (std::strcmp(code, k.code) == 0) return k.key;
    return 0;
}

std::array<bool, 256> held{};
std::array<bool, 256> pressedSincePump{};
std::array<bool, 256> pressedThisFrame{};
uint32_t padKeys = 0;    // held on any pad at the last pump
uint32_t touchKeys = 0;  // held, or pressed since the last pump, on the touch controls
bool paused = false;

void ReleaseAll() {
    held.fill(false);
    padKeys = 0;
    ReleaseTouchKeys();
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void*) {
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    int key = VirtualKeyOf(event->code);
    // The browser's own shortcuts (Ctrl+W, Alt+Left...) stay the browser's.
    if (key == 0 || (down && (event->ctrlKey || event->altKey || event->metaKey))) return EM_FALSE;
    // Handled here, so the browser neither scrolls on Space and the arrows nor goes fullscreen
    // on F11 by itself.
    if (paused) return EM_TRUE;
    if (key == F11) {
        // Inside the key's own handler: the only moment a page may go fullscreen.
        if (down && !event->repeat) ToggleFullscreen();
        return EM_TRUE;
    }
    held[key] = down;
    if (down && !event->repeat) pressedSincePump[key] = true;
    return EM_TRUE;
}

// A page that loses the focus or is hidden sees no key releases: whatever was held lets go.
EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*) {
    ReleaseAll();
    return EM_FALSE;
}
EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    if (event->hidden) ReleaseAll();
    return EM_FALSE;
}

// The "standard" mapping in the pads' shared terms (XInput's): the stick's Y grows upwards, the
// trigger counts to 255.
PadState PadOf(const EmscriptenGamepadEvent& pad) {
    PadState state;
    auto button = [&pad](int i) { return i < pad.numButtons && pad.digitalButton[i]; };
    auto axis = [&pad](int i) { return i < pad.numAxes ? pad.axis[i] : 0.0; };
    state.a = button(0);
    state.b = button(1);
    state.back = button(8);
    state.start = button(9);
    state.up = button(12);
    state.down = button(13);
    state.left = button(14);
    state.right = button(15);
    auto stick = [](double v) {
        v = v < -1.0 ? -1.0 : v > 1.0 ? 1.0 : v;
        return static_cast<int16_t>(v * 32767.0);
    };
    state.stickX = stick(axis(0));
    state.stickY = stick(-axis(1));
    double trigger = 7 < pad.numButtons ? pad.analogButton[7] : 0.0;
    state.rightTrigger = static_cast<uint8_t>((trigger < 0 ? 0 : trigger > 1 ? 1 : trigger) * 255);
    return state;
}

// The Gamepad API has no button events, only the state when asked: the pads are read once a
// frame, so (unlike on the other rings) a button tapped and let go between two frames is missed.
uint32_t SamplePads() {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return 0;
    uint32_t keys = 0;
    const int slots = emscripten_get_num_gamepads();  // slots, not pads: some are empty
    for (int i = 0; i < slots; ++i) {
        EmscriptenGamepadEvent pad;
        if (emscripten_get_gamepad_status(i, &pad) != EMSCRIPTEN_RESULT_SUCCESS) continue;
        if (pad.connected && std::strcmp(pad.mapping, "standard") == 0) keys |= PadKeys(PadOf(pad));
    }
    return keys;
}

}  // namespace

void StartWebInput() {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnBlur);
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, OnVisibility);
    StartTouchControls(InputUp, InputDown, InputLeft, InputRight, InputSpace, InputEnter,
                       InputEscape);
}

void ReadWebInput() {
    pressedThisFrame = pressedSincePump;
    pressedSincePump.fill(false);
    padKeys = paused ? 0 : SamplePads();
    touchKeys = static_cast<uint32_t>(TakeTouchKeys());
    if (paused) touchKeys = 0;
}

bool WebKeyDown(int virtualKey) {
    if (((padKeys | touchKeys) & InputBit(virtualKey)) != 0) return true;
    if (virtualKey < 0 || virtualKey >= static_cast<int>(held.size())) return false;
    return held[virtualKey] || pressedThisFrame[virtualKey];
}

void SetWebInputPaused(bool pause) {
    paused = pause;
    ReleaseAll();
    pressedSincePump.fill(false);
    pressedThisFrame.fill(false);
}
