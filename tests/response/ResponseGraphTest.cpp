// The graph checked by its pixels; text is checked by where white pixels are, not by glyphs.
#include "response/ResponseGraph.h"
#include "model/ChannelModel.h"

#include <QGuiApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>

namespace m7410 {
namespace {

constexpr QRgb Background = qRgb(20, 20, 20);
constexpr QRgb Frame = qRgb(128, 128, 128);
constexpr QRgb Grid = qRgb(64, 64, 64);
constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Red = qRgb(255, 0, 0);
constexpr QRgb Row1 = qRgb(255, 252, 0);
constexpr QRgb Row3 = qRgb(0, 252, 255);

int countColour(const QImage& image, QRect box, QRgb colour) {
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x)
            n += image.pixel(x, y) == colour;
    }
    return n;
}

// Whether the picture's white pixels around `topLeft` are exactly those of `text` drawn in the
// graph's font with its box's top-left corner there.
bool textAt(const QImage& picture, const QString& text, QPoint topLeft) {
    QImage expected(picture.size(), QImage::Format_RGB32);
    expected.fill(Qt::black);
    QPainter p(&expected);
    QFont font(QStringLiteral("Arial"), 8);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(topLeft.x(), topLeft.y() + p.fontMetrics().ascent(), text);
    p.end();
    const QRect area(topLeft - QPoint(8, 8), QSize(24, 30));
    if (countColour(expected, area, White) < 4) return false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((expected.pixel(x, y) == White) != (picture.pixel(x, y) == White)) return false;
        }
    }
    return true;
}

class ResponseGraphTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QGuiApplication::instance() != nullptr) return;
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "test_response";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }

    ChannelModel model;
    ResponseGraph graph{model};
};

TEST_F(ResponseGraphTest, BackgroundHasFrameGridAndLabels) {
    const QImage& bg = graph.background();
    ASSERT_EQ(bg.size(), QSize(720, 249));
    EXPECT_EQ(bg.pixel(0, 0), Background);
    EXPECT_EQ(bg.pixel(300, 150), Background);
    for (QPoint p : {QPoint(41, 17), QPoint(714, 17), QPoint(714, 225), QPoint(41, 225),
                     QPoint(300, 17), QPoint(300, 225), QPoint(41, 150), QPoint(714, 150),
                     QPoint(714, 40), QPoint(101, 225), QPoint(101, 17)}) {
        EXPECT_EQ(bg.pixel(p), Frame) << p.x() << "," << p.y(); // grid lines stop inside it
    }
    for (int y : {40, 63, 86, 109, 133, 156, 179, 202}) {
        EXPECT_EQ(bg.pixel(42, y), Grid) << y;
        EXPECT_EQ(bg.pixel(713, y), Grid) << y;
        EXPECT_EQ(bg.pixel(300, y + 1), Background) << y;
    }
    for (int x : {101, 135, 159, 177, 193, 206, 217, 227, 236, 294, 328, 352, 371, 386,
                  399, 410, 420, 429, 487, 521, 545, 564, 579, 592, 604, 613, 622, 681}) {
        EXPECT_EQ(bg.pixel(x, 18), Grid) << x;
        EXPECT_EQ(bg.pixel(x, 224), Grid) << x;
        EXPECT_EQ(bg.pixel(x + 1, 150), Background) << x;
    }
    // "+15dB" at (4, 10) and "1KHz" at (417, 226): white text on its dark text background.
    for (QRect box : {QRect(4, 10, 36, 14), QRect(417, 226, 36, 14)}) {
        EXPECT_GT(countColour(bg, box, White), 5);
        EXPECT_GT(countColour(bg, box, qRgb(4, 2, 4)), 5);
    }
    EXPECT_EQ(countColour(bg, QRect(0, 0, 720, 9), White), 0);
}

TEST_F(ResponseGraphTest, FlatChannelDrawsRow86AcrossTheFrame) {
    graph.copyBackground();
    graph.drawChannelCurve(0);
    const QImage& pic = graph.picture();
    for (int x = 42; x <= 713; ++x)
        ASSERT_EQ(pic.pixel(x, 86), Red) << x;
    EXPECT_EQ(pic.pixel(41, 86), Frame);
    EXPECT_EQ(pic.pixel(714, 86), Frame);
    EXPECT_EQ(countColour(pic, QRect(0, 0, 720, 86), Red), 0);
    EXPECT_EQ(countColour(pic, QRect(0, 87, 720, 162), Red), 0);
}

TEST_F(ResponseGraphTest, MarkersSitOnTheirValuesWithNumbersAboveOrBelow) {
    model.band(0).freq = 136;   // 1000 Hz, 0 dB
    model.band(2).peakGain = 0; // -24 dB
    model.band(5).freq = 216;   // row 6 out of row 1's way
    graph.recomputeAll();
    graph.openPage(0);
    const QImage& pic = graph.picture();

    ASSERT_EQ(graph.curves().marker(0), (MarkerPosition{430, 86}));
    EXPECT_EQ(countColour(pic, QRect(426, 82, 8, 8), Row1), 64);
    EXPECT_NE(pic.pixel(425, 86), Row1);
    EXPECT_NE(pic.pixel(434, 86), Row1);
    EXPECT_TRUE(textAt(pic, QStringLiteral("1"), {428, 68})); // number above the square

    const MarkerPosition low = graph.curves().marker(2);
    ASSERT_EQ(low.y, 198);
    EXPECT_EQ(countColour(pic, QRect(low.x - 4, 194, 8, 8), Row3), 64);
    EXPECT_TRUE(textAt(pic, QStringLiteral("3"), {low.x - 2, 202})); // number below it
}

TEST_F(ResponseGraphTest, RedrawSequencesRecomputeOnlyWhatChanged) {
    model.crossover(0).lpf = {136, 11}; // 48 dB Bessel at 1 kHz: far off the picture at 10 kHz
    graph.recomputeAll();
    ResponseCurves expected;
    expected.recomputeAll(model);
    for (int b = 0; b < EqBandCount; ++b)
        EXPECT_EQ(graph.curves().bandCurve(b), expected.bandCurve(b));
    EXPECT_EQ(graph.curves().lpfCurve(0), expected.lpfCurve(0));

    // Opening a page draws that channel's stored curves over a clean background.
    graph.openPage(0);
    EXPECT_NE(graph.picture().pixel(600, 86), Red);
    graph.openPage(1);
    EXPECT_EQ(graph.picture().pixel(600, 86), Red);

    // Opening recomputes nothing; the crossover redraw does, with the stored type.
    const Curve highPass = graph.curves().hpfCurve(1);
    model.crossover(1).hpf = {200, 9};
    graph.openPage(1);
    EXPECT_EQ(graph.curves().hpfCurve(1), highPass);
    graph.redrawHighPass(1);
    EXPECT_LT(graph.curves().hpfCurve(1)[300], -20.0);
    EXPECT_NE(graph.picture().pixel(300, 86), Red);

    // A band redraw touches its own band's curve and marker only.
    const MarkerPosition marker8 = graph.curves().marker(8);
    const Curve band8 = graph.curves().bandCurve(8);
    model.band(7).freq = 100;
    model.band(7).peakGain = 170;
    model.band(8).peakGain = 10;
    graph.refreshBand(7);
    EXPECT_NE(graph.curves().bandCurve(7), Curve{});
    EXPECT_EQ(graph.curves().bandCurve(8), band8);
    EXPECT_EQ(graph.curves().marker(8), marker8);

    // Numbers out of range draw nothing and break nothing.
    const QImage before = graph.picture();
    graph.drawChannelCurve(4);
    graph.drawMarkers(-1);
    graph.refreshBand(24);
    graph.redrawLowPass(9);
    graph.openPage(-1);
    EXPECT_EQ(graph.picture(), before);
}

} // namespace
} // namespace m7410
