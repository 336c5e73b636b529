#pragma once

#include <QColor>
#include <QFont>

// Colours and font of the response graph.
namespace m7410::GraphPalette {

inline QColor background() {
    return {20, 20, 20};
}
inline QColor frame() {
    return {128, 128, 128};
}
inline QColor grid() {
    return {64, 64, 64};
}
inline QColor labelText() {
    return {255, 255, 255};
}
inline QColor labelBackground() {
    return {4, 2, 4};
}
inline QColor curve() {
    return {255, 0, 0};
}
inline QColor markerNumber() {
    return {255, 255, 255};
}

// Marker colours of EQ rows 1..6.
inline QColor marker(int row) {
    static const QColor colours[] = {{255, 252, 0}, {255, 0, 0},   {0, 252, 255},
                                     {0, 252, 0},   {255, 0, 255}, {0, 0, 255}};
    return colours[row < 0 || row > 5 ? 0 : row];
}

inline QFont font() {
    return QFont(QStringLiteral("Arial"), 8);
}

} // namespace m7410::GraphPalette
