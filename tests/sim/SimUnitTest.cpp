#include "SimTestSupport.h"

#include "protocol/ParameterGroup.h"
#include "sim/SimUnit.h"

#include <gtest/gtest.h>

using namespace m7410;
using namespace m7410::sim;
using m7410::sim::test::hexBytes;

namespace {

Bytes only(const std::vector<Bytes>& replies) {
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? Bytes{} : replies[0];
}

void expectWellFormedReply(const Bytes& f, uint8_t argument, uint8_t code, std::size_t n) {
    ASSERT_EQ(f.size(), n + FrameOverhead);
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 10),
              (Bytes{0xA5, 0xA5, 0xA5, 0, 0x52, argument, code, 0, uint8_t(n >> 8), uint8_t(n)}));
    EXPECT_EQ(f[n + 10], frameChecksum(f.data(), n));
    EXPECT_EQ(f[n + 11], 0xAA);
}

Bytes dataOf(const Bytes& f) {
    return Bytes(f.begin() + 10, f.end() - 2);
}

} // namespace

TEST(SimUnit, AnswersEveryRequestWithTheExactReply) {
    SimUnit unit;
    unit.setBassOn(true);
    EXPECT_EQ(only(unit.receiveFrame(statusRequest(0))),
              hexBytes("A5A5A5 00 52 00 2B 00 00 08 01 00 00 00 00 00 00 00 70 AA"));
    unit.setCurrentPresetNumber(7);
    EXPECT_EQ(only(unit.receiveFrame(systemRecordRequest(0))),
              hexBytes("A5A5A5 00 52 00 21 00 00 08 07 00 00 00 00 00 00 00 7C AA"));

    const Bytes names = only(unit.receiveFrame(namesReadRequest(0)));
    expectWellFormedReply(names, 0, 0x26, 400);
    EXPECT_EQ(decodeName(names.data() + 10 + 3 * 20, 20), "Club");
    EXPECT_EQ(decodeName(names.data() + 10 + 19 * 20, 20), "Main Hall Long Name!");

    const Bytes current = only(unit.receiveFrame(currentBlockReadRequest(0)));
    expectWellFormedReply(current, 0, 0x28, 320);
    EXPECT_EQ(dataOf(current), Bytes(unit.currentSet().begin(), unit.currentSet().end()));
    // The start set is the model's start values, and the unit's own bytes are not zero.
    ChannelModel decoded;
    decodeBlock(unit.currentSet(), decoded);
    EXPECT_EQ(decoded, ChannelModel());
    EXPECT_NE(current[10 + 290], 0);

    const Bytes five = only(unit.receiveFrame(presetReadRequest(0, 5)));
    expectWellFormedReply(five, 5, 0x29, 320);
    EXPECT_EQ(dataOf(five), Bytes(unit.preset(5).begin(), unit.preset(5).end()));
    EXPECT_NE(unit.preset(5), unit.preset(6));

    // A recall makes the slot the set in force and answers with it.
    const Bytes recalled = only(unit.receiveFrame(presetRecallRequest(0, 4)));
    expectWellFormedReply(recalled, 4, 0x28, 320);
    EXPECT_EQ(unit.currentSet(), unit.preset(4));
    EXPECT_EQ(unit.currentPresetNumber(), 4);
    EXPECT_EQ(unit.currentName(), "Club");

    EXPECT_EQ(unit.framesReceived(), 6);
    EXPECT_EQ(unit.framesReceived(KindRequest, CodeCurrentBlock), 2);
    EXPECT_EQ(unit.malformedFrames(), 0);
}

TEST(SimUnit, NameWriteStoresTheSetInForceAndIsAcknowledged) {
    SimUnit unit;
    unit.receiveFrame(presetRecallRequest(0, 8));
    const Bytes ack = hexBytes("A5A5A5 00 51 00 00 00 00 00 51 AA");
    EXPECT_EQ(only(unit.receiveFrame(presetNameWrite(0, 3, "Club"))), ack);
    BlockData expected = unit.preset(8);
    setBlockName(expected, "Club");
    EXPECT_EQ(unit.preset(3), expected);
    EXPECT_EQ(unit.currentSet(), expected);
    EXPECT_EQ(unit.currentPresetNumber(), 3);

    // Slot 0 only renames the set in force.
    EXPECT_EQ(only(unit.receiveFrame(presetNameWrite(0, 0, "Temp"))), ack);
    EXPECT_EQ(unit.currentName(), "Temp");
    EXPECT_EQ(unit.presetName(3), "Club");
}

TEST(SimUnit, ParameterWritesChangeExactlyTheFieldsTheyAddress) {
    SimUnit unit;
    BlockData start{};
    for (std::size_t i = 0; i < start.size(); ++i)
        start[i] = uint8_t(i * 7 + 3);
    for (const ParameterGroup& g : allParameterGroups()) {
        unit.setCurrentSet(start);
        const GroupAddress a = addressOf(g);
        const uint8_t data[8] = {0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8};
        EXPECT_TRUE(
            unit.receiveFrame(buildFrame(0, KindWrite, 0, a.code, a.subCode, data, 8)).empty());
        BlockData expected = start;
        for (std::size_t i = 0; i < 8; ++i) {
            if (groupByteIsField(g.kind, i)) expected[a.blockOffset + i] = data[i];
        }
        EXPECT_EQ(unit.currentSet(), expected)
            << "code " << int(a.code) << " sub " << int(a.subCode);
    }
    // The documented example: basic group of output 1, gain 200, on, delay 300.
    unit.setCurrentSet(start);
    unit.receiveFrame(hexBytes("A5A5A5 00 A1 00 01 00 00 08 C8 01 2C 01 00 00 00 00 4C AA"));
    EXPECT_EQ(unit.currentSet()[72], 200);
    EXPECT_EQ(unit.currentSet()[74] + 256 * unit.currentSet()[75], 300);
    EXPECT_EQ(unit.currentSet()[77], start[77]);
    EXPECT_EQ(unit.malformedFrames(), 0);
}

TEST(SimUnit, BlockWritesReplaceTheCurrentSetOrOneSlot) {
    SimUnit unit;
    BlockData block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = uint8_t(255 - i);
    const auto frameFor = [&](BlockTarget t) {
        const auto header = blockWriteHeader(t, 0);
        const BlockImage image = buildWriteImage(block, t, 0);
        Bytes f(header.begin(), header.end());
        f.insert(f.end(), image.begin(), image.end());
        return f;
    };
    const BlockData slot9Before = unit.preset(9);
    EXPECT_TRUE(unit.receiveFrame(frameFor(BlockTarget::currentSet())).empty());
    EXPECT_EQ(unit.currentSet(), block);
    EXPECT_EQ(unit.preset(9), slot9Before);

    block[0] = 1;
    EXPECT_TRUE(unit.receiveFrame(frameFor(BlockTarget::preset(20))).empty());
    EXPECT_EQ(unit.preset(20), block);
    EXPECT_NE(unit.currentSet(), block);
    EXPECT_EQ(unit.malformedFrames(), 0);
}

TEST(SimUnit, MalformedFramesAreCountedAndNeitherAnsweredNorApplied) {
    SimUnit unit;
    const BlockData before = unit.currentSet();
    auto broken = [](Bytes f, std::size_t at, uint8_t value) {
        f[at] = value;
        return f;
    };
    const Bytes gain = hexBytes("A5A5A5 00 A1 00 01 00 00 08 C8 01 2C 01 00 00 00 00 4C AA");
    const std::vector<Bytes> bad = {
        broken(gain, 18, 0x4D),                                 // checksum
        broken(gain, 19, 0xAB),                                 // end marker
        broken(broken(gain, 3, 1), 18, 0x4D),                   // device 1, checksum fixed up
        broken(gain, 1, 0x00),                                  // start marker
        Bytes(gain.begin(), gain.end() - 1),                    // length field and size disagree
        buildFrame(0, KindWrite, 0, 0, 9, gain.data() + 10, 8), // no group at sub-code 9
        buildFrame(0, KindWrite, 2, 1, 0, gain.data() + 10, 8), // argument on a group write
        presetReadRequest(0, 0),
        presetRecallRequest(0, 21),
        presetNameWrite(0, 21, "x"),
        buildRequest(0, 0, 0x30),
        buildFrame(0, 0x52, 0, 0x2B, 0, nullptr, 0), // the unit's own kind
        Bytes{0xA5, 0xA5},
    };
    for (const Bytes& f : bad)
        EXPECT_TRUE(unit.receiveFrame(f).empty()) << toHex(f);
    EXPECT_EQ(unit.malformedFrames(), int(bad.size()));
    EXPECT_EQ(unit.framesReceived(), 0);
    EXPECT_EQ(unit.currentSet(), before);
    EXPECT_EQ(unit.currentPresetNumber(), 1);
}
