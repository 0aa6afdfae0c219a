#include "platform/win32/xinput_pads.h"

#include <initializer_list>

#include "platform/core/pad_keys.h"
#include "platform/win32/windows_api.h"
// windows_api.h first: xinput.h needs its types.
#include <xinput.h>

namespace {

using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

// Windows 8 and later have xinput1_4; Vista and 7 the older xinput9_1_0, which every system
// since Vista carries.
GetState LoadXInput() {
    for (const char* library : {"xinput1_4.dll", "xinput9_1_0.dll"}) {
        HMODULE module = LoadLibraryA(library);
        if (module == nullptr) continue;
        auto getState = reinterpret_cast<GetState>(
            reinterpret_cast<void*>(GetProcAddress(module, "XInputGetState")));
        if (getState != nullptr) return getState;
        FreeLibrary(module);
    }
    return nullptr;
}

PadState PadOf(const XINPUT_GAMEPAD& gamepad) {
    WORD buttons = gamepad.wButtons;
    PadState pad;
    pad.up = buttons & XINPUT_GAMEPAD_DPAD_UP;
    pad.down = buttons & XINPUT_GAMEPAD_DPAD_DOWN;
    pad.left = buttons & XINPUT_GAMEPAD_DPAD_LEFT;
    pad.right = buttons & XINPUT_GAMEPAD_DPAD_RIGHT;
    pad.a = buttons & XINPUT_GAMEPAD_A;
    pad.b = buttons & XINPUT_GAMEPAD_B;
    pad.start = buttons & XINPUT_GAMEPAD_START;
    pad.back = buttons & XINPUT_GAMEPAD_BACK;
    pad.stickX = gamepad.sThumbLX;
    pad.stickY = gamepad.sThumbLY;
    pad.rightTrigger = gamepad.bRightTrigger;
    return pad;
}

bool loaded = false;
GetState getState = nullptr;
bool connected[XUSER_MAX_COUNT] = {};
uint32_t askedAt[XUSER_MAX_COUNT] = {};

}  // namespace

uint32_t ReadXInputPads(uint32_t now) {
    if (!loaded) {
        getState = LoadXInput();
        loaded = true;
        for (uint32_t& asked : askedAt) asked = now - 1000;  // every slot at the first read
    }
    if (getState == nullptr) return 0;
    uint32_t keys = 0;
    for (DWORD slot = 0; slot < XUSER_MAX_COUNT; ++slot) {
        if (!connected[slot] && now - askedAt[slot] < 1000) continue;
        askedAt[slot] = now;
        XINPUT_STATE state{};
        // An unplugged pad answers ERROR_DEVICE_NOT_CONNECTED and so holds nothing.
        connected[slot] = getState(slot, &state) == ERROR_SUCCESS;
        if (connected[slot]) keys |= PadKeys(PadOf(state.Gamepad));
    }
    return keys;
}
