#include "response/GridBitmap.h"

#include "response/GraphPalette.h"

#include <QFontMetrics>
#include <QPainter>

namespace m7410 {

namespace {

// The 27 frequencies with a vertical grid line: 20..100, 200..1000, 2000..10000 Hz.
constexpr double GridFrequencies[] = {20,   30,   40,   50,   60,   70,   80,   90,   100,
                                      200,  300,  400,  500,  600,  700,  800,  900,  1000,
                                      2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000};

struct Label {
    const char* text;
    int x;
    int y;
};

// Label positions are fixed for the 720 x 249 picture.
constexpr Label LevelLabels[] = {
    {"+15dB", 4, 10},  {"+10dB", 4, 33},  {"+5dB", 8, 56},   {"0dB", 12, 79},   {"-5dB", 9, 102},
    {"-10dB", 6, 126}, {"-15dB", 6, 149}, {"-20dB", 6, 172}, {"-25dB", 6, 195}, {"-30dB", 6, 218}};
constexpr int FrequencyLabelRow = 226;
constexpr Label FrequencyLabels[] = {
    {"20Hz", 90, FrequencyLabelRow},   {"50Hz", 166, FrequencyLabelRow},
    {"100Hz", 222, FrequencyLabelRow}, {"200Hz", 280, FrequencyLabelRow},
    {"500Hz", 357, FrequencyLabelRow}, {"1KHz", 417, FrequencyLabelRow},
    {"2KHz", 475, FrequencyLabelRow},  {"5KHz", 552, FrequencyLabelRow},
    {"10KHz", 607, FrequencyLabelRow}, {"20KHz", 666, FrequencyLabelRow}};

// Grid lines end one pixel short of their end point, so they stop inside the frame.
void lineBefore(QPainter& p, int x0, int y0, int x1, int y1) {
    const int dx = x1 > x0 ? 1 : (x1 < x0 ? -1 : 0);
    const int dy = y1 > y0 ? 1 : (y1 < y0 ? -1 : 0);
    p.drawLine(x0, y0, x1 - dx, y1 - dy);
}

// Text placed by its top-left corner on an opaque background box.
void drawLabel(QPainter& p, const QFontMetrics& metrics, const Label& label) {
    const QString text = QString::fromLatin1(label.text);
    const QRect box(label.x, label.y, metrics.horizontalAdvance(text), metrics.height());
    p.fillRect(box, QColor(GraphPalette::LabelBackground));
    p.drawText(label.x, label.y + metrics.ascent(), text);
}

} // namespace

QImage buildGridBitmap(const GraphGeometry& g) {
    const int w = g.width();
    const int h = g.height();
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(GraphPalette::Background));

    QPainter p(&image);
    // Labels go first: a fallback font wider than Arial then cannot cover the frame.
    const QFont font = GraphPalette::font();
    p.setFont(font);
    p.setPen(QColor(GraphPalette::LabelText));
    const QFontMetrics metrics(font, &image);
    for (const Label& label : LevelLabels)
        drawLabel(p, metrics, label);
    for (const Label& label : FrequencyLabels)
        drawLabel(p, metrics, label);

    p.setPen(QColor(GraphPalette::Frame));
    const QPoint frame[] = {{GraphGeometry::frameLeft, GraphGeometry::frameTop},
                            {g.frameRight(), GraphGeometry::frameTop},
                            {g.frameRight(), g.frameBottom()},
                            {GraphGeometry::frameLeft, g.frameBottom()},
                            {GraphGeometry::frameLeft, GraphGeometry::frameTop}};
    p.drawPolyline(frame, 5);

    p.setPen(QColor(GraphPalette::Grid));
    for (int j = 1; j <= 8; ++j) {
        const int y = g.gridRow(j);
        lineBefore(p, GraphGeometry::firstColumn, y, g.frameRight(), y);
    }
    const int gridTop = GraphGeometry::frameTop + 1;
    for (double f : GridFrequencies) {
        const int x = g.gridColumn(f);
        lineBefore(p, x, gridTop, x, g.frameBottom());
    }
    lineBefore(p, g.left() + 41, gridTop, g.left() + 41, g.frameBottom());
    lineBefore(p, w - g.right() - 6, gridTop, w - g.right() - 6, g.frameBottom());
    return image;
}

} // namespace m7410
