#include "support/HexText.h"

#include <gtest/gtest.h>

namespace m7410 {

TEST(HexText, UpperCaseOutEitherCaseIn) {
    const std::vector<uint8_t> bytes = {0xA5, 0x00, 0x2b, 0xff};
    EXPECT_EQ(toHex(bytes), "A5002BFF");
    EXPECT_EQ(fromHex("a5002bFF"), bytes);
    EXPECT_EQ(hexByteAt("xxA5", 2), 0xA5);
    EXPECT_EQ(hexWordAt("0140", 0), 320);
}

TEST(HexText, RejectsWhatIsNotHex) {
    EXPECT_FALSE(fromHex("A5A").has_value());
    EXPECT_FALSE(fromHex("G0").has_value());
    EXPECT_FALSE(isHexText("12 4"));
    EXPECT_EQ(hexByteAt("A", 0), -1);
    EXPECT_EQ(hexByteAt("A5", 1), -1);
    EXPECT_EQ(hexByteAt("Z5", 0), -1);
}

} // namespace m7410
