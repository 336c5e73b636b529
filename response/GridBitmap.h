// Drawing the response graph's background grid and labels.
#pragma once

#include "response/GraphGeometry.h"

#include <QImage>

namespace m7410 {

// Draws the graph's background: fill, plot frame, log-frequency / dB grid and the labels.
// Drawn once; every redraw of the graph starts from a copy of it. Needs a QGuiApplication
// for the label font.
QImage buildGridBitmap(const GraphGeometry& geometry);

} // namespace m7410
