// Every filter type's curve against golden levels computed apart from this code base.
#include "model/ChannelModel.h"
#include "model/ValueTables.h"
#include "response/ResponseCurves.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace m7410 {
namespace {

enum class GoldenKind { HighPass, LowPass, Peaking, LowShelf, HighShelf };

struct GoldenCell {
    int x;
    double level;
};

// For crossovers `a` is the frequency index and `code` the type; for bands (a, b) is the marker
// and `code` the Q index.
struct GoldenRow {
    GoldenKind kind;
    int code;
    int a;
    int b;
    std::array<GoldenCell, 5> cells;
};

const GoldenRow Golden[] = {
#include "response/GoldenLevels.inc"
};

const char* kindName(GoldenKind kind) {
    switch (kind) {
    case GoldenKind::HighPass:
        return "high-pass";
    case GoldenKind::LowPass:
        return "low-pass";
    case GoldenKind::Peaking:
        return "PEQ";
    case GoldenKind::LowShelf:
        return "LS6";
    case GoldenKind::HighShelf:
        return "HS6";
    }
    return "?";
}

const Curve& computed(ResponseCurves& curves, ChannelModel& model, const GoldenRow& row) {
    const int channel = 1;
    const int band = 8;
    switch (row.kind) {
    case GoldenKind::HighPass:
        model.crossover(channel).hpf = {row.a, row.code};
        curves.computeHighPass(model, channel, row.code);
        return curves.hpfCurve(channel);
    case GoldenKind::LowPass:
        model.crossover(channel).lpf = {row.a, row.code};
        curves.computeLowPass(model, channel, row.code);
        return curves.lpfCurve(channel);
    default:
        model.band(band).type = row.kind == GoldenKind::Peaking    ? EqTypePeaking
                                : row.kind == GoldenKind::LowShelf ? EqTypeLowShelf
                                                                   : EqTypeHighShelf;
        model.band(band).q = row.code;
        curves.setMarker(band, {row.a, row.b});
        curves.computeBand(model, band);
        return curves.bandCurve(band);
    }
}

TEST(GoldenLevels, EveryFilterTypeMatchesTheFormulasAtTheEndsTheCornerAndAnOctaveAside) {
    // The golden values were made for these table entries.
    ASSERT_EQ(FreqTable[136], 1000.0);
    ASSERT_EQ(FreqTable[216], 10000.0);
    ASSERT_EQ(QTable[4], 1.0);

    std::array<int, 5> seen{};
    ChannelModel model;
    ResponseCurves curves;
    for (const GoldenRow& row : Golden) {
        ++seen[static_cast<int>(row.kind)];
        const Curve& curve = computed(curves, model, row);
        for (const GoldenCell& cell : row.cells) {
            EXPECT_NEAR(curve[cell.x - GraphGeometry::firstColumn], cell.level, 1e-9)
                << kindName(row.kind) << " code " << row.code << " at " << row.a << "," << row.b
                << ", column " << cell.x;
        }
    }
    // Both corners for each of the twelve types, three markers for each band type.
    EXPECT_EQ(seen, (std::array<int, 5>{24, 24, 3, 3, 3}));
}

} // namespace
} // namespace m7410
