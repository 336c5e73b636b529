// The response graph as pictures: background, curves and markers, redrawn per change.
#pragma once

#include "response/GraphGeometry.h"
#include "response/ResponseCurves.h"

#include <QFont>
#include <QImage>

namespace m7410 {

struct ChannelModel;

// The response graph of the HPF/LPF/EQ page as pictures: an off-screen background with the
// grid, drawn once, and the picture the page shows, on which every redraw copies the
// background and paints a channel's summed curve and its six band markers.
//
// It owns the response curves (ResponseCurves) and reads the parameter set it is given at
// construction, which must outlive it. The operations are the redraw sequences the editing,
// receiving and page code run:
//   - refreshBand(band): a band's frequency, gain, Q or type changed (also each drag step);
//   - redrawHighPass / redrawLowPass(channel): a crossover frequency or type changed;
//   - openPage(channel): a page opens; draws the stored curves without recomputing;
//   - recomputeAll(): a parameter set was received or applied; recomputes all 32 curves.
// A computation draws the summed curve of the channel its filter belongs to; every caller
// computes filters of the channel on screen (or of each channel in turn while it is current),
// so that is the current channel's curve. Widget and pointer handling live elsewhere.
//
// Drawing text needs a QGuiApplication.
class ResponseGraph {
public:
    explicit ResponseGraph(const ChannelModel& model, int width = GraphDefaultWidth,
                           int height = GraphDefaultHeight);

    // Draws the background for a graph of this size (the picture is resized to match and
    // shows the bare background).
    void buildGridBitmap(int width, int height);

    const QImage& background() const { return backgroundImage; }
    const QImage& picture() const { return pictureImage; }
    const ResponseCurves& curves() const { return responseCurves; }
    const GraphGeometry& geometry() const { return responseCurves.geometry(); }

    void copyBackground();
    // The channel's summed curve in red over whatever the picture holds.
    void drawChannelCurve(int channel);
    // The six markers of a channel with their row numbers.
    void drawMarkers(int channel);

    // Recompute one filter's curve, then draw its channel's summed curve.
    void computeHighPass(int channel, int type);
    void computeLowPass(int channel, int type);
    void computeBand(int band);

    // Marker from the model, background, band curve, channel curve, markers.
    void refreshBand(int band);
    // Background, the crossover curve with the channel's stored type, channel curve, markers.
    void redrawHighPass(int channel);
    void redrawLowPass(int channel);
    // Background, stored channel curve, markers.
    void openPage(int channel);
    // For channels 0..3: refreshBand for rows 1..6, then the high-pass and the low-pass with
    // their stored types, each drawing its curve over the picture without clearing it.
    void recomputeAll();

private:
    const ChannelModel& model;
    ResponseCurves responseCurves;
    QImage backgroundImage;
    QImage pictureImage;
    QFont font;
};

} // namespace m7410
