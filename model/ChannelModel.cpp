#include "model/ChannelModel.h"

#include "model/ValueTables.h"

#include <algorithm>

namespace m7410 {

namespace {

void resetBandFrequencies(std::array<EqBand, EqRowsPerChannel>& eq) {
    for (int row = 0; row < EqRowsPerChannel; ++row)
        eq[row].freq = EqStartFreq[row];
}

// 1 when the value had to change, so callers can count what was limited.
int clampTo(int32_t& v, int32_t hi) {
    const int32_t was = v;
    v = std::clamp(v, 0, hi);
    return v != was ? 1 : 0;
}

int clampCrossover(Crossover& x) {
    return clampTo(x.hpf.freq, FreqIndexMax) + clampTo(x.lpf.freq, FreqIndexMax) +
           clampTo(x.hpf.type, FilterTypeCount - 1) + clampTo(x.lpf.type, FilterTypeCount - 1);
}

int clampBands(std::array<EqBand, EqRowsPerChannel>& eq) {
    int changed = 0;
    for (EqBand& b : eq) {
        changed += clampTo(b.freq, FreqIndexMax) + clampTo(b.type, EqTypeCount - 1) +
                   clampTo(b.peakGain, EqGainCount - 1) + clampTo(b.shelfGain, EqGainCount - 1) +
                   clampTo(b.q, QCount - 1);
    }
    return changed;
}

} // namespace

ChannelModel::ChannelModel() {
    for (OutputChannel& o : outputs)
        resetBandFrequencies(o.eq);
    resetBandFrequencies(main.eq);
}

EqBand& ChannelModel::band(int b) {
    const int ch = channelOfBand(b);
    return ch == MainChannelIndex ? main.eq[rowOfBand(b)] : outputs[ch].eq[rowOfBand(b)];
}

const EqBand& ChannelModel::band(int b) const {
    return const_cast<ChannelModel*>(this)->band(b);
}

Crossover& ChannelModel::crossover(int channel) {
    return channel == MainChannelIndex ? main.crossover : outputs[channel].crossover;
}

const Crossover& ChannelModel::crossover(int channel) const {
    return const_cast<ChannelModel*>(this)->crossover(channel);
}

int32_t ChannelModel::delay(int channel) const {
    return channel == MainChannelIndex ? main.delay : outputs[channel].delay;
}

int32_t ChannelModel::phaseInvert(int channel) const {
    return channel == MainChannelIndex ? main.phaseInvert : outputs[channel].phaseInvert;
}

int ChannelModel::clampToTables() {
    int changed = 0;
    for (int c = 0; c < OutputChannelCount; ++c) {
        changed += clampTo(outputs[c].gain, gainLimitOf(c));
        changed += clampCrossover(outputs[c].crossover);
        changed += clampBands(outputs[c].eq);
    }
    changed += clampCrossover(main.crossover);
    changed += clampBands(main.eq);
    return changed;
}

} // namespace m7410
