// Which key presses count as the personal-settings hotkey.
#include "app/GlobalHotkey.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>

namespace m7410::test {
namespace {

TEST(GlobalHotkeyTest, OnlyControlAloneWithTheKeyCountsWhateverTheLocks) {
    const uint8_t i = 31;
    EXPECT_TRUE(GlobalHotkey::isHotkey(XCB_MOD_MASK_CONTROL, i, i));
    EXPECT_TRUE(GlobalHotkey::isHotkey(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_2, i, i));
    EXPECT_TRUE(GlobalHotkey::isHotkey(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_LOCK, i, i));
    EXPECT_TRUE(
        GlobalHotkey::isHotkey(XCB_MOD_MASK_CONTROL | uint16_t{XCB_KEY_BUT_MASK_BUTTON_1}, i, i));
    EXPECT_FALSE(GlobalHotkey::isHotkey(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT, i, i));
    EXPECT_FALSE(GlobalHotkey::isHotkey(XCB_MOD_MASK_1, i, i)); // Alt
    EXPECT_FALSE(GlobalHotkey::isHotkey(0, i, i));
    EXPECT_FALSE(GlobalHotkey::isHotkey(XCB_MOD_MASK_CONTROL, i + 1, i));
    EXPECT_FALSE(GlobalHotkey::isHotkey(XCB_MOD_MASK_CONTROL, 0, 0)) << "no key grabbed";
}

} // namespace
} // namespace m7410::test
