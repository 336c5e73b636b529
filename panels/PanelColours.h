// The fixed face colours of the panels and the text colour that reads on each.
#pragma once

#include <QColor>
#include <QFont>

#include <cmath>

namespace m7410 {

inline const QColor OpenPageColour(255, 255, 128);
inline const QColor IdleColour(224, 224, 224);
inline const QColor MutedColour(255, 0, 0);
inline const QColor ChosenModeColour(159, 197, 238);

// Black or white, whichever reads better on a fixed face colour: such a face keeps its colour
// under a dark desktop palette, so its text colour cannot come from the palette either.
inline QColor textColourOn(const QColor& face) {
    auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * linear(face.redF()) + 0.7152 * linear(face.greenF()) +
                             0.0722 * linear(face.blueF());
    // Equal contrast against black and white lies at this luminance.
    return luminance > 0.179 ? QColor(Qt::black) : QColor(Qt::white);
}

// The font the window's fixed geometry was drawn for. Its boxes keep it whatever size the
// desktop's own font has, so captions stay whole in their places.
inline QFont designFont() {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(9);
    return f;
}

} // namespace m7410
