#include "sim/FactorySets.h"

#include "model/ChannelModel.h"

#include <string_view>

namespace m7410::sim {

namespace {

// Slot 12 has the longest name the application lets a user type, slot 20 fills all 20 bytes
// with no terminating zero.
constexpr std::string_view SlotNames[SlotCount] = {
    "Flat",  "Speech", "Pre3",   "Club",
    "Live",  "Cinema", "Pre7",   "Jazz",
    "Rock",  "Pre10",  "Pre11",  "Outdoor Festival",
    "Pre13", "Pre14",  "Church", "Pre16",
    "Pre17", "Pre18",  "Pre19",  "Main Hall Long Name!"};

// The 20 bytes after the groups belong to the unit; a recognisable pattern shows whether the
// application carries them back unchanged.
BlockData unitBytesBase(int slot) {
    BlockData base{};
    for (std::size_t i = 280; i < 300; ++i)
        base[i] = static_cast<uint8_t>(0x30 + slot + i - 280);
    return base;
}

ChannelModel variation(int n) {
    ChannelModel m;
    for (int c = 0; c < OutputChannelCount; ++c) {
        OutputChannel& o = m.outputs[c];
        o.gain = 120 + (n * 7 + c * 13) % 60;
        o.outputOn = (n + c) % 7 == 0 ? 0 : 1;
        o.delay = (n * 11 + c * 5) % 100;
        o.phaseInvert = n % 5 == c ? 1 : 0;
        o.limiter = {n % 20, n % 7, (n + 3) % 7};
        for (int r = 0; r < EqRowsPerChannel; ++r) {
            EqBand& b = o.eq[r];
            const int k = c * EqRowsPerChannel + r;
            b.freq = EqStartFreq[r] + (n * 3 + k) % 40;
            b.type = (n + k) % 3;
            b.peakGain = 100 + (n * 5 + k * 3) % 41;
            b.shelfGain = 110 + (n + k) % 21;
            b.q = 4 + (n * 4 + k) % 60;
        }
    }
    // Outputs 0, 1, 2 are the middle, low and high ways of a three-way system.
    m.outputs[0].crossover = {{60 + n, n % 12}, {150 + n, (n + 4) % 12}};
    m.outputs[1].crossover = {{0, 0}, {100 + n, (n + 2) % 12}};
    m.outputs[2].crossover = {{140 + n, (n + 6) % 12}, {FreqIndexMax, 0}};
    m.main.volume = 150 + n * 7;
    m.main.delay = n * 3;
    m.main.phaseInvert = n % 2;
    for (int r = 0; r < EqRowsPerChannel; ++r) {
        EqBand& b = m.main.eq[r];
        b.freq = EqStartFreq[r] + (n + r * 5) % 30;
        b.type = EqTypePeaking;
        b.peakGain = 110 + (n + r) % 21;
        b.q = 10 + n + r;
    }
    return m;
}

} // namespace

PresetSlots factoryPresets() {
    PresetSlots presets{};
    for (int n = 1; n <= SlotCount; ++n) {
        const ChannelModel model = n == 1 ? ChannelModel() : variation(n);
        BlockData block = encodeBlock(model, unitBytesBase(n));
        setBlockName(block, SlotNames[n - 1]);
        presets[n - 1] = block;
    }
    return presets;
}

BlockData factoryCurrentSet() {
    return factoryPresets()[0];
}

} // namespace m7410::sim
