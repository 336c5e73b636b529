#include "response/ResponseCurves.h"

#include "model/ChannelModel.h"
#include "model/ValueTables.h"
#include "response/CrossoverDesign.h"
#include "response/EqDesign.h"
#include "response/SectionCascade.h"

#include <algorithm>

namespace m7410 {

namespace {

// Start markers of rows 1..6: the grid columns of 20, 50, 100, 200, 500 and 1000 Hz at 0 dB.
constexpr MarkerPosition StartMarkers[EqRowsPerChannel] = {{101, 86}, {177, 86}, {236, 86},
                                                           {294, 86}, {371, 86}, {429, 86}};

bool validChannel(int channel) {
    return channel >= 0 && channel < ChannelCount;
}
bool validBand(int band) {
    return band >= 0 && band < EqBandCount;
}

const Curve& flatCurve() {
    static const Curve flat{};
    return flat;
}

} // namespace

ResponseCurves::ResponseCurves(const GraphGeometry& geometry)
    : graph(geometry), columnTable(geometry) {
    for (int b = 0; b < EqBandCount; ++b)
        markers[b] = StartMarkers[rowOfBand(b)];
}

void ResponseCurves::setGeometry(const GraphGeometry& geometry) {
    graph = geometry;
    columnTable = ColumnTable(geometry);
}

void ResponseCurves::computeHighPass(const ChannelModel& model, int channel, int type) {
    if (!validChannel(channel)) return;
    const FilterSections sections =
        highPassSections(highPassCornerHz(model.crossover(channel).hpf.freq), type);
    cascadeLevels(sections, columnTable.crossoverCos.data(), columnTable.crossoverSin.data(),
                  columnTable.count, hpfCurves[channel].data());
}

void ResponseCurves::computeLowPass(const ChannelModel& model, int channel, int type) {
    if (!validChannel(channel)) return;
    const FilterSections sections =
        lowPassSections(lowPassCornerHz(model.crossover(channel).lpf.freq), type);
    cascadeLevels(sections, columnTable.crossoverCos.data(), columnTable.crossoverSin.data(),
                  columnTable.count, lpfCurves[channel].data());
}

void ResponseCurves::computeBand(const ChannelModel& model, int band) {
    if (!validBand(band)) return;
    const EqBand& eq = model.band(band);
    const double f0 = graph.columnFrequency(markers[band].x);
    const double gain = graph.markerGain(markers[band].y);
    double* out = bandCurves[band].data();
    switch (eq.type) {
    case EqTypeLowShelf:
    case EqTypeHighShelf: {
        const Section s =
            eq.type == EqTypeLowShelf ? lowShelfSection(f0, gain) : highShelfSection(f0, gain);
        cascadeLevels({&s, 1}, columnTable.crossoverCos.data(), columnTable.crossoverSin.data(),
                      columnTable.count, out);
        break;
    }
    default: {
        // A type outside the list can only come from an unchecked set; draw it as peaking.
        const Section s = peakingSection(f0, gain, QTable[std::clamp(eq.q, 0, QCount - 1)]);
        cascadeLevels({&s, 1}, columnTable.peakingCos.data(), columnTable.peakingSin.data(),
                      columnTable.count, out);
        break;
    }
    }
}

void ResponseCurves::placeMarker(const ChannelModel& model, int band) {
    if (!validBand(band)) return;
    const EqBand& eq = model.band(band);
    const double hz = FreqTable[std::clamp(eq.freq, 0, FreqCount - 1)];
    const double gain = EqGainTable[std::clamp(eq.gainInForce(), 0, EqGainCount - 1)];
    markers[band] = {graph.markerColumn(hz), graph.levelToRow(gain)};
}

void ResponseCurves::setMarker(int band, MarkerPosition position) {
    if (validBand(band)) markers[band] = position;
}

MarkerPosition ResponseCurves::marker(int band) const {
    return validBand(band) ? markers[band] : MarkerPosition{};
}

void ResponseCurves::recomputeAll(const ChannelModel& model) {
    for (int ch = 0; ch < ChannelCount; ++ch) {
        for (int row = 0; row < EqRowsPerChannel; ++row) {
            const int band = bandAddress(ch, row);
            placeMarker(model, band);
            computeBand(model, band);
        }
        const Crossover& x = model.crossover(ch);
        computeHighPass(model, ch, x.hpf.type);
        computeLowPass(model, ch, x.lpf.type);
    }
}

const Curve& ResponseCurves::bandCurve(int band) const {
    return validBand(band) ? bandCurves[band] : flatCurve();
}

const Curve& ResponseCurves::hpfCurve(int channel) const {
    return validChannel(channel) ? hpfCurves[channel] : flatCurve();
}

const Curve& ResponseCurves::lpfCurve(int channel) const {
    return validChannel(channel) ? lpfCurves[channel] : flatCurve();
}

void ResponseCurves::channelLevels(int channel, double* levels) const {
    const int n = columnTable.count;
    const Curve& hp = hpfCurve(channel);
    const Curve& lp = lpfCurve(channel);
    const int firstBand = bandAddress(channel, 0);
    for (int i = 0; i < n; ++i)
        levels[i] = 0.0;
    if (!validChannel(channel)) return;
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const Curve& b = bandCurves[firstBand + row];
        for (int i = 0; i < n; ++i)
            levels[i] += b[i];
    }
    for (int i = 0; i < n; ++i)
        levels[i] += hp[i] + lp[i];
}

} // namespace m7410
