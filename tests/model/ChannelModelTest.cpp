#include "model/ChannelModel.h"

#include <gtest/gtest.h>

namespace m7410 {

TEST(ChannelModel, StartValues) {
    const ChannelModel m;
    for (const OutputChannel& o : m.outputs) {
        EXPECT_EQ(o.gain, 120);
        EXPECT_EQ(o.outputOn, 1);
        EXPECT_EQ(o.crossover.hpf, (CrossoverFilter{0, 0}));
        EXPECT_EQ(o.crossover.lpf, (CrossoverFilter{243, 0}));
        EXPECT_EQ(o.limiter, Limiter{});
    }
    EXPECT_EQ(m.main.volume, 0);
    EXPECT_EQ(m.main.mainReserved, 0);
    const int startFreq[] = {0, 33, 57, 80, 112, 136};
    for (int b = 0; b < EqBandCount; ++b) {
        const EqBand& band = m.band(b);
        EXPECT_EQ(band.freq, startFreq[b % 6]) << b;
        EXPECT_EQ(band.type, EqTypePeaking);
        EXPECT_EQ(band.peakGain, 120);
        EXPECT_EQ(band.shelfGain, 120);
        EXPECT_EQ(band.q, 4);
    }
}

TEST(ChannelModel, BandAddressReachesTheRightChannel) {
    ChannelModel m;
    m.band(bandAddress(2, 5)).freq = 200;
    m.band(bandAddress(3, 0)).freq = 201;
    EXPECT_EQ(bandAddress(2, 5), 17);
    EXPECT_EQ(m.outputs[2].eq[5].freq, 200);
    EXPECT_EQ(m.main.eq[0].freq, 201);
    m.crossover(3).hpf.type = 7;
    EXPECT_EQ(m.main.crossover.hpf.type, 7);
}

TEST(EqBand, GainInForceFollowsTheTypeAndKeepsTheOtherGain) {
    EqBand band;
    band.peakGain = 150;
    band.shelfGain = 90;
    EXPECT_EQ(band.gainInForce(), 150);
    band.type = EqTypeLowShelf;
    EXPECT_EQ(band.gainInForce(), 90);
    band.setGainInForce(100);
    band.type = EqTypePeaking;
    EXPECT_EQ(band.gainInForce(), 150);
    EXPECT_EQ(band.shelfGain, 100);
}

TEST(ChannelModel, ClampLimitsIndexesButKeepsUnboundedFields) {
    ChannelModel m;
    m.outputs[2].gain = 230;
    m.outputs[1].gain = 230;
    m.outputs[0].gain = 255;
    m.outputs[0].crossover.hpf.type = 12;
    m.outputs[0].crossover.lpf.freq = 250;
    m.main.eq[1].type = 5;
    m.main.eq[1].q = 200;
    m.main.eq[1].shelfGain = 400;
    m.outputs[0].delay = 1000;
    m.outputs[0].limiter.threshold = 99;
    m.main.mainReserved = 255;
    m.clampToTables();
    EXPECT_EQ(m.outputs[2].gain, 200);
    EXPECT_EQ(m.outputs[1].gain, 230);
    EXPECT_EQ(m.outputs[0].gain, 250);
    EXPECT_EQ(m.outputs[0].crossover.hpf.type, 11);
    EXPECT_EQ(m.outputs[0].crossover.lpf.freq, 243);
    EXPECT_EQ(m.main.eq[1].type, 2);
    EXPECT_EQ(m.main.eq[1].q, 179);
    EXPECT_EQ(m.main.eq[1].shelfGain, 180);
    EXPECT_EQ(m.outputs[0].delay, 1000);
    EXPECT_EQ(m.outputs[0].limiter.threshold, 99);
    EXPECT_EQ(m.main.mainReserved, 255);
}

} // namespace m7410
