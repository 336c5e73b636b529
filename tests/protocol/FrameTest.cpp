#include "FrameBytes.h"

#include "protocol/Frame.h"

#include <gtest/gtest.h>

namespace m7410 {
using test::bytesOf;
using test::cat;
using test::zeros;

TEST(Frame, RequestsOfTheCommandSet) {
    EXPECT_EQ(statusRequest(0), bytesOf("A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"));
    EXPECT_EQ(currentBlockReadRequest(0), bytesOf("A5 A5 A5 00 A2 00 28 00 00 00 8A AA"));
    EXPECT_EQ(namesReadRequest(0), bytesOf("A5 A5 A5 00 A2 00 26 00 00 00 84 AA"));
    EXPECT_EQ(presetReadRequest(0, 5), bytesOf("A5 A5 A5 00 A2 05 29 00 00 00 8E AA"));
    EXPECT_EQ(presetRecallRequest(0, 3), bytesOf("A5 A5 A5 00 A2 03 28 00 00 00 89 AA"));
    EXPECT_EQ(systemRecordRequest(0),
              cat(cat(bytesOf("A5 A5 A5 00 A2 00 21 00 00 08"), zeros(8)), bytesOf("8B AA")));
}

TEST(Frame, ChecksumTakesInTheDeviceNumberAndArgument) {
    EXPECT_EQ(statusRequest(0x10)[10], 0x89 ^ 0x10);
    EXPECT_EQ(presetRecallRequest(0, 20)[10], 0x8A ^ 20);
    EXPECT_EQ(presetReadRequest(0, 20)[10], 0x8B ^ 20);
}

TEST(Frame, PresetNameWriteIsZeroPaddedToTwentyBytes) {
    const Bytes f = presetNameWrite(0, 2, "abc");
    EXPECT_EQ(f, cat(cat(bytesOf("A5 A5 A5 00 A1 02 27 00 00 14 61 62 63"), zeros(17)),
                     bytesOf("F0 AA")));
    // A name longer than the field is cut, never overruns the frame.
    const Bytes longName = presetNameWrite(0, 1, std::string(40, 'x'));
    ASSERT_EQ(longName.size(), 32u);
    EXPECT_EQ(longName[29], 'x');
    EXPECT_EQ(longName[31], 0xAA);
}

TEST(Frame, LengthIsBigEndianAndValuesLittleEndian) {
    const Bytes data(320, 0);
    const Bytes f = buildFrame(0, KindWrite, 0, CodeCurrentBlock, 0, data.data(), data.size());
    EXPECT_EQ(f.size(), 332u);
    EXPECT_EQ(f[8], 0x01);
    EXPECT_EQ(f[9], 0x40);
    EXPECT_EQ(lowByte(256), 0x00);
    EXPECT_EQ(highByte(256), 0x01);
    EXPECT_EQ(word(0x2C, 0x01), 300);
}

} // namespace m7410
