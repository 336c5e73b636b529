// The curves of a fit on the channel's graph: the measurement, the target and the measurement
// with a set of bands, each level-aligned to the graph's 0 dB over the fit range.
#pragma once

#include "eqtext/Measurement.h"
#include "eqtext/FilterImport.h"

#include <QRgb>

class QPainter;

namespace m7410 {

class GraphGeometry;

struct FitCurveColours {
    QRgb measurement;
    QRgb target;
    QRgb predicted;
};

// Draws the three curves (the predicted one only when bands is given); the target is drawn
// across the whole graph, the others only where the measurement has points.
void drawFitCurves(QPainter& painter, const GraphGeometry& geometry, const Response& measured,
                   const Response& target, double fromHz, double toHz, const ChannelBands* bands,
                   const FitCurveColours& colours);

} // namespace m7410
