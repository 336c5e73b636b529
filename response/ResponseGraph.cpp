#include "response/ResponseGraph.h"

#include "model/ChannelModel.h"
#include "response/GraphPalette.h"
#include "response/GridBitmap.h"

#include <QPainter>
#include <QPoint>

#include <array>
#include <cstring>

namespace m7410 {

namespace {

bool validChannel(int channel) {
    return channel >= 0 && channel < ChannelCount;
}

// Row numbers of markers low on the graph go below the square, the others above it.
constexpr int NumberAboveUpToRow = 116;

} // namespace

ResponseGraph::ResponseGraph(const ChannelModel& model, int width, int height)
    : model(model), font(GraphPalette::font()) {
    buildGridBitmap(width, height);
}

void ResponseGraph::buildGridBitmap(int width, int height) {
    const GraphGeometry geometry(width, height);
    responseCurves.setGeometry(geometry);
    backgroundImage = m7410::buildGridBitmap(geometry);
    pictureImage = backgroundImage.copy();
}

void ResponseGraph::copyBackground() {
    // A plain copy into the picture's own buffer: no reallocation on every drag step.
    std::memcpy(pictureImage.bits(), backgroundImage.constBits(),
                static_cast<size_t>(backgroundImage.sizeInBytes()));
}

void ResponseGraph::drawChannelCurve(int channel) {
    if (!validChannel(channel)) return;
    const GraphGeometry& g = geometry();
    const int n = responseCurves.columnCount();
    std::array<double, CurveCapacity> levels;
    responseCurves.channelLevels(channel, levels.data());
    std::array<QPoint, CurveCapacity> points;
    for (int i = 0; i < n; ++i) {
        points[i] = QPoint(GraphGeometry::firstColumn + i, g.levelToRow(levels[i]));
    }
    QPainter p(&pictureImage);
    p.setPen(QColor(GraphPalette::Curve));
    p.drawPolyline(points.data(), n);
}

void ResponseGraph::drawMarkers(int channel) {
    if (!validChannel(channel)) return;
    QPainter p(&pictureImage);
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const MarkerPosition m = responseCurves.marker(bandAddress(channel, row));
        p.fillRect(m.x - 4, m.y - 4, 8, 8, QColor(GraphPalette::Markers[row]));
    }
    p.setFont(font);
    p.setPen(QColor(GraphPalette::MarkerNumber));
    const QFontMetrics metrics = p.fontMetrics();
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const MarkerPosition m = responseCurves.marker(bandAddress(channel, row));
        const int top = m.y > NumberAboveUpToRow ? m.y + 4 : m.y - 18;
        p.drawText(m.x - 2, top + metrics.ascent(), QString::number(row + 1));
    }
}

void ResponseGraph::computeHighPass(int channel, int type) {
    responseCurves.computeHighPass(model, channel, type);
    drawChannelCurve(channel);
}

void ResponseGraph::computeLowPass(int channel, int type) {
    responseCurves.computeLowPass(model, channel, type);
    drawChannelCurve(channel);
}

void ResponseGraph::computeBand(int band) {
    responseCurves.computeBand(model, band);
    drawChannelCurve(channelOfBand(band));
}

void ResponseGraph::refreshBand(int band) {
    if (band < 0 || band >= EqBandCount) return;
    responseCurves.placeMarker(model, band);
    copyBackground();
    computeBand(band);
    drawMarkers(channelOfBand(band));
}

void ResponseGraph::redrawHighPass(int channel) {
    if (!validChannel(channel)) return;
    copyBackground();
    computeHighPass(channel, model.crossover(channel).hpf.type);
    drawMarkers(channel);
}

void ResponseGraph::redrawLowPass(int channel) {
    if (!validChannel(channel)) return;
    copyBackground();
    computeLowPass(channel, model.crossover(channel).lpf.type);
    drawMarkers(channel);
}

void ResponseGraph::openPage(int channel) {
    if (!validChannel(channel)) return;
    copyBackground();
    drawChannelCurve(channel);
    drawMarkers(channel);
}

void ResponseGraph::recomputeAll() {
    for (int ch = 0; ch < ChannelCount; ++ch) {
        for (int row = 0; row < EqRowsPerChannel; ++row)
            refreshBand(bandAddress(ch, row));
        computeHighPass(ch, model.crossover(ch).hpf.type);
        computeLowPass(ch, model.crossover(ch).lpf.type);
    }
}

} // namespace m7410
