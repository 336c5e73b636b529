#include "FrameBytes.h"

#include "protocol/MessageBuilders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace m7410 {
using test::bytesOf;

namespace {

class RecordingPending : public PendingRaiser {
public:
    void RaisePending(int message) override { raised.push_back(message); }
    std::vector<int> raised;
};

class MessageBuildersTest : public ::testing::Test {
protected:
    Bytes frameOf(int pendingMessage) const {
        const ParameterFrame& f = frames.frame(pendingMessage);
        return Bytes(f.begin(), f.end());
    }

    ChannelModel model;
    PreparedFrames frames;
    RecordingPending pending;
    int32_t linkOpen = 1;
    uint8_t deviceNumber = 0;
    MessageBuilders builders{model, frames, pending, linkOpen, deviceNumber};
};

} // namespace

TEST_F(MessageBuildersTest, OutputBasicMessage) {
    model.outputs[1].gain = 200;
    model.outputs[1].outputOn = 1;
    model.outputs[1].delay = 300;
    model.outputs[1].phaseInvert = 0;
    builders.QueueBasicMessage(1);
    EXPECT_EQ(frameOf(4), bytesOf("A5 A5 A5 00 A1 00 01 00 00 08 C8 01 2C 01 00 00 00 00 4C AA"));
    EXPECT_THAT(pending.raised, ::testing::ElementsAre(4));
}

TEST_F(MessageBuildersTest, MainBasicMessage) {
    model.main.volume = 301;
    model.main.phaseInvert = 1;
    builders.QueueMainBasicMessage();
    EXPECT_EQ(frameOf(28), bytesOf("A5 A5 A5 00 A1 00 03 00 00 08 00 00 2D 01 00 00 01 00 87 AA"));
}

TEST_F(MessageBuildersTest, EqBandMessagesAndTheirAddresses) {
    EqBand& band = model.band(0);
    band.freq = 100;
    band.q = 4;
    builders.QueueEqBandMessage(0);
    EXPECT_EQ(frameOf(10), bytesOf("A5 A5 A5 00 A1 00 00 03 00 08 64 00 78 00 78 00 04 00 CA AA"));

    builders.QueueEqBandMessage(18);
    builders.QueueEqBandMessage(23);
    builders.QueueEqBandMessage(17);
    EXPECT_EQ(frameOf(30)[6], 0x05);
    EXPECT_EQ(frameOf(30)[7], 0x00);
    EXPECT_EQ(frameOf(35)[6], 0x0A);
    EXPECT_EQ(frameOf(35)[7], 0x00);
    EXPECT_EQ(frameOf(27)[6], 0x02);
    EXPECT_EQ(frameOf(27)[7], 0x08);
    EXPECT_THAT(pending.raised, ::testing::ElementsAre(10, 30, 35, 27));
}

TEST_F(MessageBuildersTest, EveryGroupHasItsOwnSlotAndAValidFrame) {
    for (int c = 0; c < 3; ++c) {
        builders.QueueBasicMessage(c);
        builders.QueueCrossoverMessage(c);
        builders.QueueLimiterMessage(c);
    }
    builders.QueueCrossoverMessage(3);
    builders.QueueMainBasicMessage();
    for (int b = 0; b < EqBandCount; ++b)
        builders.QueueEqBandMessage(b);

    const std::set<int> slots(pending.raised.begin(), pending.raised.end());
    EXPECT_EQ(slots.size(), 35u);
    EXPECT_EQ(slots.count(29), 0u);
    EXPECT_EQ(*slots.begin(), 1);
    EXPECT_EQ(*slots.rbegin(), 36);
    for (int s : slots) {
        const Bytes f = frameOf(s);
        EXPECT_EQ(f[10 + 8], frameChecksum(f.data(), 8)) << s;
        EXPECT_EQ(f[19], 0xAA) << s;
    }
    EXPECT_EQ(frameOf(36)[6], 0x04); // Main crossover
    EXPECT_EQ(frameOf(9)[6], 0x02);  // limiter of channel 2
    EXPECT_EQ(frameOf(9)[7], 0x02);
}

TEST_F(MessageBuildersTest, SendsTheWholeGroupWithUnusedBytesZero) {
    model.outputs[0].crossover = {{10, 3}, {200, 11}};
    builders.QueueCrossoverMessage(0);
    EXPECT_EQ(frameOf(2),
              test::cat(bytesOf("A5 A5 A5 00 A1 00 00 01 00 08 0A 03 00 00 C8 0B 00 00"),
                        Bytes{frameChecksum(frameOf(2).data(), 8), 0xAA}));
    model.outputs[2].limiter = {19, 6, 5};
    builders.QueueLimiterMessage(2);
    EXPECT_EQ(frameOf(9),
              test::cat(bytesOf("A5 A5 A5 00 A1 00 02 02 00 08 13 06 05 00 00 00 00 00"),
                        Bytes{frameChecksum(frameOf(9).data(), 8), 0xAA}));
}

TEST_F(MessageBuildersTest, NothingIsBuiltWhileTheLinkIsClosed) {
    builders.QueueBasicMessage(0);
    const Bytes before = frameOf(1);
    linkOpen = 0;
    model.outputs[0].gain = 10;
    builders.QueueBasicMessage(0);
    EXPECT_EQ(frameOf(1), before);
    EXPECT_THAT(pending.raised, ::testing::ElementsAre(1));
}

TEST_F(MessageBuildersTest, TheLaterContentsReplaceTheEarlier) {
    model.outputs[0].gain = 10;
    builders.QueueBasicMessage(0);
    model.outputs[0].gain = 11;
    builders.QueueBasicMessage(0);
    EXPECT_EQ(frameOf(1)[10], 11);
}

TEST_F(MessageBuildersTest, OutOfRangeChannelsAndBandsAreIgnored) {
    builders.QueueBasicMessage(3);
    builders.QueueLimiterMessage(-1);
    builders.QueueEqBandMessage(24);
    builders.QueueCrossoverMessage(4);
    EXPECT_TRUE(pending.raised.empty());
}

} // namespace m7410
