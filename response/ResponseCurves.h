// The response curves of every filter and the EQ band markers, in plain C++.
#pragma once

#include "model/EqBand.h"
#include "model/OutputChannel.h"
#include "response/ColumnTable.h"
#include "response/GraphGeometry.h"

#include <array>

namespace m7410 {

struct ChannelModel;

// Pixel position of a band's marker on the graph.
struct MarkerPosition {
    int x = 0;
    int y = 0;
    bool operator==(const MarkerPosition&) const = default;
};

// One level in dB per curve column (index i = pixel column - GraphGeometry::firstColumn).
using Curve = std::array<double, CurveCapacity>;

// The response curves of all filters and the EQ band markers, in plain C++.
//
// Each filter has its own array, so a change to one filter recomputes only that array: 24 band
// curves (global band number 0..23) and one high-pass and one low-pass curve per channel 0..3.
// A channel's response is the sum of its six band curves and its two crossover curves. Arrays
// start flat and keep their values until recomputed; markers start on the 0 dB line at the
// grid columns of 20, 50, 100, 200, 500 and 1000 Hz.
//
// Every function takes the parameter set it reads as an argument and writes only the array or
// marker it names. Channel and band numbers outside their ranges are ignored, crossover types
// and table indexes are clamped and an unknown band type is drawn as peaking, so bad input
// cannot reach outside the arrays.
class ResponseCurves {
public:
    explicit ResponseCurves(const GraphGeometry& geometry = GraphGeometry{});

    // Changes the graph size; the per-column tables follow, the arrays keep their values.
    void setGeometry(const GraphGeometry& geometry);
    const GraphGeometry& geometry() const { return graph; }
    int columnCount() const { return columnTable.count; }

    // Recomputes the channel's high-pass (low-pass) curve from its stored crossover frequency
    // and the given type code; callers pass the channel's stored type.
    void computeHighPass(const ChannelModel& model, int channel, int type);
    void computeLowPass(const ChannelModel& model, int channel, int type);

    // Recomputes a band's curve by the band's type. Frequency and gain come from the band's
    // marker, not from the stored indexes, so the curve shows the pixel-quantised values a
    // dragged marker stands for; Q comes from the model (peaking only).
    void computeBand(const ChannelModel& model, int band);

    // Sets a band's marker from its stored frequency and the gain in force.
    void placeMarker(const ChannelModel& model, int band);
    // Moves a marker directly (while it is dragged).
    void setMarker(int band, MarkerPosition position);
    MarkerPosition marker(int band) const;

    // What a received or applied parameter set needs: for channels 0..3 the six markers and
    // band curves in row order, then the high-pass and the low-pass with the stored types.
    void recomputeAll(const ChannelModel& model);

    // The stored arrays; a flat curve for numbers out of range.
    const Curve& bandCurve(int band) const;
    const Curve& hpfCurve(int channel) const;
    const Curve& lpfCurve(int channel) const;

    // The channel's summed response over the used columns (columnCount() values), unclamped.
    void channelLevels(int channel, double* levels) const;

private:
    GraphGeometry graph;
    ColumnTable columnTable;
    std::array<Curve, EqBandCount> bandCurves{};
    std::array<Curve, ChannelCount> hpfCurves{};
    std::array<Curve, ChannelCount> lpfCurves{};
    std::array<MarkerPosition, EqBandCount> markers{};
};

} // namespace m7410
