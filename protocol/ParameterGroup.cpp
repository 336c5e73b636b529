#include "protocol/ParameterGroup.h"

#include "protocol/Frame.h"

namespace m7410 {

namespace {

constexpr int OutputGroupsPerChannel = 9;
constexpr int MainBasicIndex = 27;
constexpr int MainCrossoverIndex = 28;
constexpr int MainFirstBandIndex = 29;

std::array<ParameterGroup, ParameterGroupCount> makeGroups() {
    std::array<ParameterGroup, ParameterGroupCount> g{};
    int i = 0;
    for (int c = 0; c < OutputChannelCount; ++c) {
        g[i++] = {GroupKind::OutputBasic, c, -1};
        g[i++] = {GroupKind::Crossover, c, -1};
        g[i++] = {GroupKind::Limiter, c, -1};
        for (int r = 0; r < EqRowsPerChannel; ++r)
            g[i++] = {GroupKind::EqBand, c, bandAddress(c, r)};
    }
    g[i++] = {GroupKind::MainBasic, MainChannelIndex, -1};
    g[i++] = {GroupKind::Crossover, MainChannelIndex, -1};
    for (int r = 0; r < EqRowsPerChannel; ++r)
        g[i++] = {GroupKind::EqBand, MainChannelIndex, bandAddress(MainChannelIndex, r)};
    return g;
}

int indexOf(const ParameterGroup& g) {
    if (g.channel == MainChannelIndex) {
        if (g.kind == GroupKind::MainBasic) return MainBasicIndex;
        if (g.kind == GroupKind::Crossover) return MainCrossoverIndex;
        return MainFirstBandIndex + rowOfBand(g.band);
    }
    const int base = g.channel * OutputGroupsPerChannel;
    switch (g.kind) {
    case GroupKind::OutputBasic:
        return base;
    case GroupKind::Crossover:
        return base + 1;
    case GroupKind::Limiter:
        return base + 2;
    default:
        return base + 3 + rowOfBand(g.band);
    }
}

void putWord(uint8_t* b, int32_t v) {
    b[0] = lowByte(v);
    b[1] = highByte(v);
}

} // namespace

const std::array<ParameterGroup, ParameterGroupCount>& allParameterGroups() {
    static const auto groups = makeGroups();
    return groups;
}

GroupAddress addressOf(const ParameterGroup& g) {
    const int offset = indexOf(g) * static_cast<int>(GroupBytesSize);
    if (g.channel != MainChannelIndex) {
        const int c = g.channel;
        switch (g.kind) {
        case GroupKind::OutputBasic:
            return {uint8_t(c), 0, 1 + 3 * c, offset};
        case GroupKind::Crossover:
            return {uint8_t(c), 1, 2 + 3 * c, offset};
        case GroupKind::Limiter:
            return {uint8_t(c), 2, 3 + 3 * c, offset};
        default:
            return {uint8_t(c), uint8_t(3 + rowOfBand(g.band)), 10 + g.band, offset};
        }
    }
    switch (g.kind) {
    case GroupKind::MainBasic:
        return {3, 0, 28, offset};
    case GroupKind::Crossover:
        return {4, 0, 36, offset};
    default:
        return {uint8_t(5 + rowOfBand(g.band)), 0, 12 + g.band, offset};
    }
}

bool groupAt(uint8_t code, uint8_t subCode, ParameterGroup& out) {
    for (const ParameterGroup& g : allParameterGroups()) {
        const GroupAddress a = addressOf(g);
        if (a.code == code && a.subCode == subCode) {
            out = g;
            return true;
        }
    }
    return false;
}

ParameterGroup basicGroup(int channel) {
    return channel == MainChannelIndex ? ParameterGroup{GroupKind::MainBasic, channel, -1}
                                       : ParameterGroup{GroupKind::OutputBasic, channel, -1};
}
ParameterGroup crossoverGroup(int channel) {
    return {GroupKind::Crossover, channel, -1};
}
ParameterGroup limiterGroup(int channel) {
    return {GroupKind::Limiter, channel, -1};
}
ParameterGroup eqBandGroup(int band) {
    return {GroupKind::EqBand, channelOfBand(band), band};
}

bool groupByteIsField(GroupKind kind, std::size_t i) {
    static constexpr uint8_t masks[] = {
        0b00011111, // output basic: gain, on, delay lo/hi, polarity
        0b00110011, // crossover: hpf freq/type, lpf freq/type
        0b00000111, // limiter: threshold, attack, release
        0b01111111, // EQ band: freq, type, peak lo/hi, shelf lo/hi, q
        0b01111101, // Main basic: reserved, volume lo/hi, delay lo/hi, polarity
    };
    return i < GroupBytesSize && (masks[static_cast<int>(kind)] >> i) & 1;
}

GroupBytes encodeGroup(const ChannelModel& m, const ParameterGroup& g) {
    GroupBytes b{};
    switch (g.kind) {
    case GroupKind::OutputBasic: {
        const OutputChannel& o = m.outputs[g.channel];
        b[0] = lowByte(o.gain);
        b[1] = lowByte(o.outputOn);
        putWord(&b[2], o.delay);
        b[4] = lowByte(o.phaseInvert);
        break;
    }
    case GroupKind::Crossover: {
        const Crossover& x = m.crossover(g.channel);
        b[0] = lowByte(x.hpf.freq);
        b[1] = lowByte(x.hpf.type);
        b[4] = lowByte(x.lpf.freq);
        b[5] = lowByte(x.lpf.type);
        break;
    }
    case GroupKind::Limiter: {
        const Limiter& l = m.outputs[g.channel].limiter;
        b[0] = lowByte(l.threshold);
        b[1] = lowByte(l.attack);
        b[2] = lowByte(l.release);
        break;
    }
    case GroupKind::EqBand: {
        const EqBand& e = m.band(g.band);
        b[0] = lowByte(e.freq);
        b[1] = lowByte(e.type);
        putWord(&b[2], e.peakGain);
        putWord(&b[4], e.shelfGain);
        b[6] = lowByte(e.q);
        break;
    }
    case GroupKind::MainBasic:
        b[0] = lowByte(m.main.mainReserved);
        putWord(&b[2], m.main.volume);
        putWord(&b[4], m.main.delay);
        b[6] = lowByte(m.main.phaseInvert);
        break;
    }
    return b;
}

void decodeGroup(ChannelModel& m, const ParameterGroup& g, const uint8_t* b) {
    switch (g.kind) {
    case GroupKind::OutputBasic: {
        OutputChannel& o = m.outputs[g.channel];
        o.gain = b[0];
        o.outputOn = b[1];
        o.delay = word(b[2], b[3]);
        o.phaseInvert = b[4];
        break;
    }
    case GroupKind::Crossover: {
        Crossover& x = m.crossover(g.channel);
        x.hpf = {b[0], b[1]};
        x.lpf = {b[4], b[5]};
        break;
    }
    case GroupKind::Limiter:
        m.outputs[g.channel].limiter = {b[0], b[1], b[2]};
        break;
    case GroupKind::EqBand: {
        EqBand& e = m.band(g.band);
        e.freq = b[0];
        e.type = b[1];
        e.peakGain = word(b[2], b[3]);
        e.shelfGain = word(b[4], b[5]);
        e.q = b[6];
        break;
    }
    case GroupKind::MainBasic:
        m.main.mainReserved = b[0];
        m.main.volume = word(b[2], b[3]);
        m.main.delay = word(b[4], b[5]);
        m.main.phaseInvert = b[6];
        break;
    }
}

} // namespace m7410
