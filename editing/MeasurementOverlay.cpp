#include "editing/MeasurementOverlay.h"

#include "editing/FitCurves.h"
#include "eqtext/FilterImport.h"
#include "model/ChannelModel.h"
#include "panels/EqPage.h"
#include "panels/GraphPicture.h"

#include <QPushButton>

namespace m7410 {

MeasurementOverlay::MeasurementOverlay(EqPage& eqPage, const ChannelModel& channelModel,
                                       const GraphGeometry& graphGeometry,
                                       std::function<int()> openChannel, QObject* parent)
    : QObject(parent), page(eqPage), model(channelModel), geometry(graphGeometry),
      pageChannel(std::move(openChannel)) {
    page.measurementToggle()->setEnabled(false);
    page.graph()->setOverlay([this](QPainter& p) { paint(p); });
    connect(page.measurementToggle(), &QPushButton::toggled, page.graph(),
            [this] { page.graph()->update(); });
}

void MeasurementOverlay::show(int ch, const Response& m, const Response& t, double from,
                              double to) {
    channel = ch;
    measured = m;
    target = t;
    fromHz = from;
    toHz = to;
    page.measurementToggle()->setEnabled(true);
    page.measurementToggle()->setChecked(true);
    page.graph()->update();
}

bool MeasurementOverlay::drawn() const {
    return channel >= 0 && page.measurementToggle()->isChecked() && pageChannel() == channel;
}

void MeasurementOverlay::paint(QPainter& painter) const {
    if (!drawn()) return;
    // The bands as they are now: each drag step repaints the picture, so the predicted curve
    // follows the marker.
    ChannelBands bands{};
    for (int row = 0; row < EqRowsPerChannel; ++row)
        bands[static_cast<std::size_t>(row)] = model.band(bandAddress(channel, row));
    drawFitCurves(painter, geometry, measured, target, fromHz, toHz, &bands,
                  {MeasurementColour, TargetColour, PredictedColour});
}

} // namespace m7410
