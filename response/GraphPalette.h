// Colours and font of the response graph.
#pragma once

#include <QFont>
#include <QRgb>

// Colours and font of the response graph.
namespace m7410::GraphPalette {

inline constexpr QRgb Background = qRgb(20, 20, 20);
inline constexpr QRgb Frame = qRgb(128, 128, 128);
inline constexpr QRgb Grid = qRgb(64, 64, 64);
inline constexpr QRgb LabelText = qRgb(255, 255, 255);
inline constexpr QRgb LabelBackground = qRgb(4, 2, 4);
inline constexpr QRgb Curve = qRgb(255, 0, 0);
inline constexpr QRgb MarkerNumber = qRgb(255, 255, 255);
// Marker colours of EQ rows 1..6.
inline constexpr QRgb Markers[] = {qRgb(255, 252, 0), qRgb(255, 0, 0),   qRgb(0, 252, 255),
                                   qRgb(0, 252, 0),   qRgb(255, 0, 255), qRgb(0, 0, 255)};

// Small text is drawn unsmoothed, so it is in exactly its colours like every other pixel.
inline QFont font() {
    QFont f(QStringLiteral("Arial"), 8);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

} // namespace m7410::GraphPalette
