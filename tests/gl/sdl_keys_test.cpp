// The window's keyboard: a key pressed and released between two pumps reads as down at the next
// one, once, however short the tap.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/host.h"
#include "platform/sdl/sdl_host.h"
#include "platform/seam.h"

namespace {

void Send(Uint32 type, SDL_Scancode code) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = code;
    event.key.keysym.sym = SDL_GetKeyFromScancode(code);
    SDL_PushEvent(&event);
}

// The pump, and the frame's input read right after it, as the session loop does.
void Pump(SdlHost& window) {
    window.PumpMessages();
    frameInput = window.ReadInput();
}

TEST(SdlKeys, ATapBetweenTwoPumpsReadsDownAtTheNextPumpOnce) {
    std::unique_ptr<SdlHost> window = SdlHost::Create("Marvaze test", 64, 64);
    ASSERT_NE(window, nullptr);
    host = window.get();
    Pump(*window);
    EXPECT_FALSE(KeyDown(VK_ESCAPE));
    Send(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
    Send(SDL_KEYUP, SDL_SCANCODE_ESCAPE);
    Pump(*window);
    EXPECT_TRUE(KeyDown(VK_ESCAPE));
    EXPECT_TRUE(KeyDown(VK_ESCAPE));  // read twice in the frame: down both times
    EXPECT_FALSE(KeyDown(VK_RETURN));
    Pump(*window);
    EXPECT_FALSE(KeyDown(VK_ESCAPE));
    host = nullptr;
}

}  // namespace
