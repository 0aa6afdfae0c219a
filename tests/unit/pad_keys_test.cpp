// A pad's state read as keys: the buttons, the stick's dead zone and the trigger's threshold.
#include "platform/core/pad_keys.h"

#include <gtest/gtest.h>

#include "platform/seam.h"

namespace {

TEST(PadKeys, EachButtonHoldsItsKeyAlone) {
    struct Case {
        bool PadState::*button;
        uint32_t key;
    } cases[] = {
        {&PadState::up, PadKeyUp},     {&PadState::down, PadKeyDown},
        {&PadState::left, PadKeyLeft}, {&PadState::right, PadKeyRight},
        {&PadState::a, PadKeySpace},   {&PadState::start, PadKeyReturn},
        {&PadState::b, PadKeyEscape},  {&PadState::back, PadKeyEscape},
    };
    EXPECT_EQ(PadKeys(PadState{}), 0u);
    for (const Case& c : cases) {
        PadState pad;
        pad.*c.button = true;
        EXPECT_EQ(PadKeys(pad), c.key);
    }
    PadState all{true, true, true, true, true, true, true, true, 0, 0, 0};
    EXPECT_EQ(PadKeys(all), PadKeyUp | PadKeyDown | PadKeyLeft | PadKeyRight | PadKeySpace |
                                PadKeyReturn | PadKeyEscape);
}

TEST(PadKeys, TheStickReadsAsADirectionOnlyBeyondTheDeadZone) {
    auto stick = [](int x, int y) {
        PadState pad;
        pad.stickX = static_cast<int16_t>(x);
        pad.stickY = static_cast<int16_t>(y);
        return PadKeys(pad);
    };
    EXPECT_EQ(stick(PadStickDeadZone, -PadStickDeadZone), 0u);
    EXPECT_EQ(stick(-PadStickDeadZone, PadStickDeadZone), 0u);
    EXPECT_EQ(stick(3000, -2500), 0u);                    // a worn stick at rest
    EXPECT_EQ(stick(0, PadStickDeadZone + 1), PadKeyUp);  // Y grows upwards
    EXPECT_EQ(stick(0, -PadStickDeadZone - 1), PadKeyDown);
    EXPECT_EQ(stick(PadStickDeadZone + 1, 0), PadKeyRight);
    EXPECT_EQ(stick(-PadStickDeadZone - 1, 0), PadKeyLeft);
    EXPECT_EQ(stick(32767, -32768), PadKeyRight | PadKeyDown);
    EXPECT_EQ(stick(-32768, 32767), PadKeyLeft | PadKeyUp);
}

TEST(PadKeys, TheRightTriggerFiresPastItsThreshold) {
    PadState pad;
    pad.rightTrigger = PadTriggerThreshold;
    EXPECT_EQ(PadKeys(pad), 0u);
    pad.rightTrigger = PadTriggerThreshold + 1;
    EXPECT_EQ(PadKeys(pad), PadKeySpace);
    pad.rightTrigger = 255;
    pad.a = true;
    EXPECT_EQ(PadKeys(pad), PadKeySpace);
}

TEST(PadKeys, EveryPadKeyHasItsVirtualKeyAndOthersNone) {
    EXPECT_EQ(PadKeyBit(VK_UP), PadKeyUp);
    EXPECT_EQ(PadKeyBit(VK_DOWN), PadKeyDown);
    EXPECT_EQ(PadKeyBit(VK_LEFT), PadKeyLeft);
    EXPECT_EQ(PadKeyBit(VK_RIGHT), PadKeyRight);
    EXPECT_EQ(PadKeyBit(VK_SPACE), PadKeySpace);
    EXPECT_EQ(PadKeyBit(VK_RETURN), PadKeyReturn);
    EXPECT_EQ(PadKeyBit(VK_ESCAPE), PadKeyEscape);
    // W and S stay keyboard-only: the pad's up and down are the arrows'.
    EXPECT_EQ(PadKeyBit(VK_W), 0u);
    EXPECT_EQ(PadKeyBit(VK_S), 0u);
    EXPECT_EQ(PadKeyBit(0x41), 0u);
}

}  // namespace
