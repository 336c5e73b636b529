#include "FrameBytes.h"

#include "protocol/ParameterBlock.h"
#include "protocol/ParameterGroup.h"
#include "support/HexText.h"

#include <gtest/gtest.h>

namespace m7410 {

namespace {

// A block frame as the unit sends it, with every byte distinct enough to notice a shift.
BlockData patternedBlock() {
    BlockData b{};
    for (std::size_t i = 0; i < BlockSize; ++i)
        b[i] = static_cast<uint8_t>((i * 7 + 3) & 0xFF);
    return b;
}

std::string replyTextOf(const BlockData& data, uint8_t code, uint8_t argument) {
    const Bytes f = buildFrame(0, KindReply, argument, code, 0, data.data(), data.size());
    return toHex(f);
}

} // namespace

TEST(ParameterBlock, GroupsLieInAddressOrder) {
    const auto& groups = allParameterGroups();
    EXPECT_EQ(addressOf(groups[0]).blockOffset, 0);
    EXPECT_EQ(addressOf(eqBandGroup(0)).blockOffset, 24);
    EXPECT_EQ(addressOf(basicGroup(1)).blockOffset, 72);
    EXPECT_EQ(addressOf(eqBandGroup(17)).blockOffset, 144 + 24 + 40);
    EXPECT_EQ(addressOf(basicGroup(3)).blockOffset, 216);
    EXPECT_EQ(addressOf(crossoverGroup(3)).blockOffset, 224);
    EXPECT_EQ(addressOf(eqBandGroup(23)).blockOffset, 272);
    ParameterGroup g{};
    ASSERT_TRUE(groupAt(0x07, 0x00, g));
    EXPECT_EQ(g, eqBandGroup(20));
    ASSERT_TRUE(groupAt(0x01, 0x05, g));
    EXPECT_EQ(g, eqBandGroup(8));
    EXPECT_FALSE(groupAt(0x03, 0x01, g));
    EXPECT_FALSE(groupAt(0x0B, 0x00, g));
}

TEST(ParameterBlock, DecodeReadsEveryFieldLittleEndian) {
    BlockData b{};
    const std::size_t ch1 = 72;
    b[ch1 + 0] = 180;  // gain
    b[ch1 + 1] = 0;    // muted
    b[ch1 + 2] = 0xD0; // delay 464 = 0x01D0
    b[ch1 + 3] = 0x01;
    b[ch1 + 4] = 1;    // polarity
    b[ch1 + 8] = 40;   // hpf freq
    b[ch1 + 9] = 7;    // hpf type
    b[ch1 + 12] = 200; // lpf freq
    b[ch1 + 13] = 2;   // lpf type
    b[ch1 + 16] = 19;  // limiter
    b[ch1 + 17] = 6;
    b[ch1 + 18] = 5;
    b[ch1 + 24 + 8 + 0] = 99; // band 7
    b[ch1 + 24 + 8 + 1] = 1;
    b[ch1 + 24 + 8 + 2] = 100;
    b[ch1 + 24 + 8 + 4] = 170;
    b[ch1 + 24 + 8 + 6] = 30;
    b[216] = 0x5A; // mainReserved
    b[218] = 0x2D; // volume 301
    b[219] = 0x01;
    b[220] = 240; // Main delay
    b[222] = 1;
    b[224] = 5;
    b[229] = 8;
    b[272] = 243; // band 23
    setBlockName(b, "Club");

    ChannelModel m;
    decodeBlock(b, m);
    const OutputChannel& o = m.outputs[1];
    EXPECT_EQ(o.gain, 180);
    EXPECT_EQ(o.outputOn, 0);
    EXPECT_EQ(o.delay, 464);
    EXPECT_EQ(o.phaseInvert, 1);
    EXPECT_EQ(o.crossover, (Crossover{{40, 7}, {200, 2}}));
    EXPECT_EQ(o.limiter, (Limiter{19, 6, 5}));
    EXPECT_EQ(m.band(7), (EqBand{99, 1, 100, 170, 30}));
    EXPECT_EQ(m.main.mainReserved, 0x5A);
    EXPECT_EQ(m.main.volume, 301);
    EXPECT_EQ(m.main.delay, 240);
    EXPECT_EQ(m.main.phaseInvert, 1);
    EXPECT_EQ(m.main.crossover.hpf.freq, 5);
    EXPECT_EQ(m.main.crossover.lpf.type, 8);
    EXPECT_EQ(m.band(23).freq, 243);
    EXPECT_EQ(blockName(b), "Club");
}

TEST(ParameterBlock, DecodeClampsIndexesToTheirTables) {
    BlockData b{};
    b[144] = 230;      // gain of channel 2
    b[72] = 230;       // gain of channel 1 stays (+3.0 dB)
    b[0 + 9] = 12;     // hpf type of channel 0
    b[0 + 24 + 1] = 5; // band 0 type
    b[0 + 24 + 6] = 200;
    b[0 + 24 + 4] = 0x90; // shelf gain 400
    b[0 + 24 + 5] = 0x01;
    b[224] = 250; // Main hpf freq
    b[16] = 40;   // limiter fields are taken as they come
    b[2] = 0xFF;  // delay 65535 too
    b[3] = 0xFF;
    ChannelModel m;
    decodeBlock(b, m);
    EXPECT_EQ(m.outputs[2].gain, 200);
    EXPECT_EQ(m.outputs[1].gain, 230);
    EXPECT_EQ(m.outputs[0].crossover.hpf.type, 11);
    EXPECT_EQ(m.band(0).type, 2);
    EXPECT_EQ(m.band(0).q, 179);
    EXPECT_EQ(m.band(0).shelfGain, 180);
    EXPECT_EQ(m.main.crossover.hpf.freq, 243);
    EXPECT_EQ(m.outputs[0].limiter.threshold, 40);
    EXPECT_EQ(m.outputs[0].delay, 65535);
}

TEST(ParameterBlock, NameEndsAtItsFirstZeroByte) {
    BlockData b{};
    setBlockName(b, "Stage left");
    b[305] = 0;
    EXPECT_EQ(blockName(b), "Stage");
    setBlockName(b, std::string(30, 'n'));
    EXPECT_EQ(blockName(b), std::string(20, 'n'));
}

TEST(ParameterBlock, TextInEitherCaseGivesTheDataBytes) {
    const BlockData data = patternedBlock();
    std::string text = replyTextOf(data, CodePresetBlock, 7);
    ASSERT_EQ(text.size(), BlockTextLength);
    EXPECT_EQ(blockDataFromText(text), data);
    for (char& c : text)
        c = static_cast<char>(std::tolower(c));
    EXPECT_EQ(blockDataFromText(text), data);
    EXPECT_FALSE(blockDataFromText(text.substr(0, 600)).has_value());
    text[100] = 'g';
    EXPECT_FALSE(blockDataFromText(text).has_value());
}

TEST(ParameterBlock, UnreadBytesTravelUnchangedIntoTheWriteImage) {
    const BlockData received = patternedBlock();
    ChannelModel m;
    decodeBlock(*blockDataFromText(replyTextOf(received, CodeCurrentBlock, 0)), m);
    m.outputs[0].gain = 77;
    m.band(3).q = 9;

    const BlockData out = encodeBlock(m, received);
    for (std::size_t i : {5u, 6u, 7u, 10u, 11u, 19u, 23u, 24u + 7u, 217u, 223u})
        EXPECT_EQ(out[i], received[i]) << i;
    for (std::size_t i = 280; i < 320; ++i)
        EXPECT_EQ(out[i], received[i]) << i;
    EXPECT_EQ(out[0], 77);
    EXPECT_EQ(out[24 + 3 * 8 + 6], 9);

    const BlockImage image = buildWriteImage(out, BlockTarget::currentSet(), 0);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), image.begin()));
    EXPECT_EQ(image[321], 0xAA);
}

TEST(ParameterBlock, WriteImageChecksumStartsFromItsHeader) {
    const BlockData zero{};
    EXPECT_EQ(buildWriteImage(zero, BlockTarget::currentSet(), 0)[320], 0xC8);
    EXPECT_EQ(buildWriteImage(zero, BlockTarget::preset(1), 0)[320], 0xC8);
    EXPECT_EQ(blockChecksumStart(BlockTarget::preset(3), 0), 3 ^ 0xC9);
    EXPECT_EQ(blockChecksumStart(BlockTarget::currentSet(), 0x11), 0x11 ^ 0xC8);

    // A set taken from a reply of slot 7 and written to slot 3 gets slot 3's checksum.
    const BlockData data = patternedBlock();
    const std::string stored = replyTextOf(data, CodePresetBlock, 7);
    const BlockImage image = buildWriteImage(*blockDataFromText(stored), BlockTarget::preset(3), 0);
    uint8_t x = 3 ^ 0xC9;
    for (uint8_t v : data)
        x ^= v;
    EXPECT_EQ(image[320], x);
    EXPECT_NE(image[320], *fromHex(stored.substr(660, 2))->data());

    // Header followed by image is exactly one valid frame.
    const auto header = blockWriteHeader(BlockTarget::preset(3), 0);
    EXPECT_EQ(Bytes(header.begin(), header.end()), test::bytesOf("A5 A5 A5 00 A1 03 29 00 01 40"));
    Bytes frame(header.begin(), header.end());
    frame.insert(frame.end(), image.begin(), image.end());
    EXPECT_EQ(frame, buildFrame(0, KindWrite, 3, CodePresetBlock, 0, data.data(), data.size()));
}

} // namespace m7410
