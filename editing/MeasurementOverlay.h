// The measurement of the last applied fit, drawn over the channel's graph while the EQ page's
// "Show measurement" is on, with the measurement corrected by the channel's bands as they are.
#pragma once

#include "eqtext/Measurement.h"

#include <QObject>
#include <QRgb>

#include <functional>

class QPainter;

namespace m7410 {

class EqPage;
class GraphGeometry;
struct ChannelModel;

class MeasurementOverlay : public QObject {
    Q_OBJECT
public:
    // pageChannel gives the channel of the open EQ page, or -1.
    MeasurementOverlay(EqPage& page, const ChannelModel& model, const GraphGeometry& geometry,
                       std::function<int()> pageChannel, QObject* parent = nullptr);

    // After a fit was applied to channel: keeps its measurement, target and range, and turns
    // the page's toggle on.
    void show(int channel, const Response& measured, const Response& target, double fromHz,
              double toHz);
    // True while the curves are drawn on the open page.
    bool drawn() const;

    // Orange: the predicted result, so that it does not look like the channel's red curve.
    static constexpr QRgb MeasurementColour = qRgb(255, 255, 255);
    static constexpr QRgb TargetColour = qRgb(255, 255, 0);
    static constexpr QRgb PredictedColour = qRgb(255, 150, 0);

private:
    void paint(QPainter& painter) const;

    EqPage& page;
    const ChannelModel& model;
    const GraphGeometry& geometry;
    std::function<int()> pageChannel;
    int channel = -1;
    Response measured;
    Response target;
    double fromHz = 0.0;
    double toHz = 0.0;
};

} // namespace m7410
