#include "editing/FitCurves.h"

#include "eqtext/ResponseComparison.h"
#include "response/GraphGeometry.h"

#include <QPainter>

#include <utility>
#include <vector>

namespace m7410 {

namespace {

// The mean over the fit range of a level along the measurement's points: each curve is drawn
// around the graph's 0 dB line, as the error measure moves the target.
template <typename Level>
double meanInRange(const Response& measured, double fromHz, double toHz, Level level) {
    double sum = 0.0;
    int n = 0;
    for (const ResponsePoint& p : measured.points) {
        if (p.hz < fromHz || p.hz > toHz) continue;
        sum += level(p);
        ++n;
    }
    return n > 0 ? sum / n : 0.0;
}

} // namespace

void drawFitCurves(QPainter& painter, const GraphGeometry& g, const Response& measured,
                   const Response& target, double fromHz, double toHz, const ChannelBands* bands,
                   const FitCurveColours& colours) {
    const double measuredMean =
        meanInRange(measured, fromHz, toHz, [](const ResponsePoint& p) { return p.db; });
    const double targetMean = meanInRange(measured, fromHz, toHz, [&](const ResponsePoint& p) {
        return levelAt(target.points, p.hz);
    });
    const double predictedMean =
        bands ? meanInRange(measured, fromHz, toHz,
                            [&](const ResponsePoint& p) { return p.db + unitLevel(*bands, p.hz); })
              : 0.0;
    std::vector<QPointF> measuredCurve, targetCurve, predicted;
    const double lowest = measured.points.empty() ? 0.0 : measured.points.front().hz;
    const double highest = measured.points.empty() ? 0.0 : measured.points.back().hz;
    for (int x = GraphGeometry::firstColumn; x <= g.lastColumn(); ++x) {
        const double hz = g.columnFrequency(x);
        targetCurve.emplace_back(x, g.levelToRow(levelAt(target.points, hz) - targetMean));
        if (hz < lowest || hz > highest) continue;
        const double m = levelAt(measured.points, hz);
        measuredCurve.emplace_back(x, g.levelToRow(m - measuredMean));
        if (bands) predicted.emplace_back(x, g.levelToRow(m + unitLevel(*bands, hz) - predictedMean));
    }
    for (const auto& [points, colour] :
         {std::pair{&targetCurve, colours.target}, std::pair{&measuredCurve, colours.measurement},
          std::pair{&predicted, colours.predicted}}) {
        if (points->empty()) continue;
        painter.setPen(QColor(colour));
        painter.drawPolyline(points->data(), static_cast<int>(points->size()));
    }
}

} // namespace m7410
