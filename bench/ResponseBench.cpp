// Speed of the response graph on the paths the user waits for: one band curve and one steep
// crossover curve (every edit), all 32 curves (a received parameter set) and one drag step.
#include "model/ChannelModel.h"
#include "model/ValueTables.h"
#include "response/ResponseCurves.h"
#include "response/ResponseGraph.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace m7410;

// A set with every filter in use, so no curve is a shortcut.
ChannelModel busyModel() {
    ChannelModel model;
    for (int b = 0; b < EqBandCount; ++b) {
        EqBand& band = model.band(b);
        band.freq = 20 + 9 * b;
        band.type = b % 3;
        band.peakGain = 60 + 4 * b;
        band.shelfGain = 150 - 3 * b;
        band.q = 3 + 7 * b;
    }
    for (int ch = 0; ch < ChannelCount; ++ch) {
        Crossover& x = model.crossover(ch);
        x.hpf = {30 + 10 * ch, 3 * ch + 2};
        x.lpf = {200 - 20 * ch, 11 - 3 * ch};
    }
    return model;
}

void peakingBandCurve(benchmark::State& state) {
    ChannelModel model;
    model.band(4).peakGain = 150;
    model.band(4).q = 20;
    ResponseCurves curves;
    curves.placeMarker(model, 4);
    for (auto _ : state) {
        curves.computeBand(model, 4);
        benchmark::DoNotOptimize(curves.bandCurve(4).data());
    }
    state.SetLabel("target 5 us");
}

void besselLowPass48(benchmark::State& state) {
    ChannelModel model;
    model.crossover(2).lpf = {150, 11};
    ResponseCurves curves;
    for (auto _ : state) {
        curves.computeLowPass(model, 2, 11);
        benchmark::DoNotOptimize(curves.lpfCurve(2).data());
    }
    state.SetLabel("target 10 us");
}

void allCurvesOfASet(benchmark::State& state) {
    const ChannelModel model = busyModel();
    ResponseCurves curves;
    for (auto _ : state) {
        curves.recomputeAll(model);
        benchmark::DoNotOptimize(curves.lpfCurve(3).data());
    }
    state.SetLabel("target 200 us");
}

// One pointer-move step of a marker drag: the editor stores the new indexes, then the band
// redraw recomputes the marker and the band curve and repaints the picture.
void dragStep(benchmark::State& state) {
    ChannelModel model = busyModel();
    ResponseGraph graph(model);
    graph.recomputeAll();
    graph.openPage(0);
    const int band = 2;
    int step = 0;
    for (auto _ : state) {
        model.band(band).freq = 60 + step % 80;
        model.band(band).setGainInForce(80 + step % 60);
        ++step;
        graph.refreshBand(band);
        benchmark::DoNotOptimize(graph.picture().constBits());
    }
    state.SetLabel("target 500 us");
}

BENCHMARK(peakingBandCurve)->Unit(benchmark::kMicrosecond);
BENCHMARK(besselLowPass48)->Unit(benchmark::kMicrosecond);
BENCHMARK(allCurvesOfASet)->Unit(benchmark::kMicrosecond);
BENCHMARK(dragStep)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // Text on the picture needs a GUI application, not a display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
