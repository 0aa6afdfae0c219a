// A pad read as the keys the game polls: A fires, Start confirms, B and Back go back, the D-pad
// and the stick past its dead zone steer, the right trigger fires once pulled in.
#include "platform/core/pad_keys.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/seam.h"

namespace {

std::vector<int> Held(const PadState& pad) {
    std::vector<int> keys;
    for (int vk : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SPACE, VK_RETURN, VK_ESCAPE, VK_W, VK_S})
        if ((PadKeys(pad) & InputBit(vk)) != 0) keys.push_back(vk);
    return keys;
}

TEST(PadKeys, APadPlaysAsTheKeyboard) {
    using Keys = std::vector<int>;
    EXPECT_EQ(Held({}), Keys{});
    EXPECT_EQ(Held({.a = true}), Keys{VK_SPACE});
    EXPECT_EQ(Held({.start = true}), Keys{VK_RETURN});
    EXPECT_EQ(Held({.b = true}), Keys{VK_ESCAPE});
    EXPECT_EQ(Held({.back = true}), Keys{VK_ESCAPE});
    // W and S stay the keyboard's: the pad's up and down are the arrows.
    EXPECT_EQ(Held({.up = true, .right = true}), (Keys{VK_UP, VK_RIGHT}));
    EXPECT_EQ(Held({.down = true, .left = true}), (Keys{VK_DOWN, VK_LEFT}));
    // A worn stick rests a little off centre; its Y grows upwards.
    EXPECT_EQ(Held({.stickX = 3000, .stickY = -2500}), Keys{});
    EXPECT_EQ(Held({.stickX = PadStickDeadZone, .stickY = -PadStickDeadZone - 1}), Keys{VK_DOWN});
    EXPECT_EQ(Held({.stickX = -32768, .stickY = 32767}), (Keys{VK_UP, VK_LEFT}));
    EXPECT_EQ(Held({.stickX = 32767}), Keys{VK_RIGHT});
    EXPECT_EQ(Held({.rightTrigger = PadTriggerThreshold}), Keys{});
    EXPECT_EQ(Held({.rightTrigger = PadTriggerThreshold + 1}), Keys{VK_SPACE});
}

}  // namespace
