// One parametric EQ band: type, frequency, Q and its two gains.
#pragma once

#include <cstdint>

namespace m7410 {

inline constexpr int EqTypePeaking = 0;
inline constexpr int EqTypeLowShelf = 1;
inline constexpr int EqTypeHighShelf = 2;
inline constexpr int EqGainZeroIndex = 120;
inline constexpr int EqRowsPerChannel = 6;
inline constexpr int EqBandCount = 24;

// One parametric band. It owns two gains: the peaking gain and the shelf gain; switching the
// type shows and edits the other one while the inactive one is kept and still sent.
struct EqBand {
    int32_t freq = 0;
    int32_t type = EqTypePeaking;
    int32_t peakGain = EqGainZeroIndex;
    int32_t shelfGain = EqGainZeroIndex;
    int32_t q = 4;

    // The gain the band's type puts in force; every reader and writer of "the" gain uses these.
    int32_t gainInForce() const { return type == EqTypePeaking ? peakGain : shelfGain; }
    void setGainInForce(int32_t index) { (type == EqTypePeaking ? peakGain : shelfGain) = index; }

    bool operator==(const EqBand&) const = default;
};

// Start frequency indexes of rows 1..6 (19.7, 51.1, 102, 198, 500, 1000 Hz).
inline constexpr int32_t EqStartFreq[EqRowsPerChannel] = {0, 33, 57, 80, 112, 136};

inline constexpr int bandAddress(int channel, int row) {
    return channel * EqRowsPerChannel + row;
}
inline constexpr int channelOfBand(int band) {
    return band / EqRowsPerChannel;
}
inline constexpr int rowOfBand(int band) {
    return band % EqRowsPerChannel;
}

} // namespace m7410
