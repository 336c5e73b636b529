#include "panels/FaderPictures.h"

#include <QPainter>

#include <cmath>

namespace m7410 {

int knobRowForGain(double dB) {
    return static_cast<int>(std::trunc((5.0 - dB) * (TrackBottom - TrackTop) / 25.0 + TrackTop));
}

QImage faderTrackPicture() {
    QImage img(FaderWidth, FaderHeight, QImage::Format_RGB32);
    img.fill(QColor(212, 208, 200));
    QPainter p(&img);
    const int centre = KnobLeft + KnobWidth / 2;
    // Groove.
    p.fillRect(centre - 2, TrackTop - 4, 4, TrackBottom - TrackTop + 8, QColor(40, 40, 40));
    p.setPen(QColor(255, 255, 255));
    p.drawLine(centre + 2, TrackTop - 4, centre + 2, TrackBottom + 4);
    // Scale every 5 dB with its label on the left, minor ticks every dB on the right.
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(10);
    p.setFont(f);
    for (int dB = 5; dB >= -20; --dB) {
        const int y = knobRowForGain(dB);
        const bool major = dB % 5 == 0;
        p.setPen(QColor(0, 0, 0));
        p.drawLine(centre + 10, y, centre + (major ? 22 : 15), y);
        if (major) {
            p.drawLine(centre - 22, y, centre - 10, y);
            const QString label = dB > 0 ? QStringLiteral("+%1").arg(dB) : QString::number(dB);
            p.drawText(QRect(4, y - 7, centre - 30, 14), Qt::AlignRight | Qt::AlignVCenter, label);
        }
    }
    p.drawText(QRect(centre + 24, TrackTop - 7, 50, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("dB"));
    return img;
}

QImage knobPicture(bool pressed) {
    QImage img(KnobWidth, KnobHeight, QImage::Format_RGB32);
    const QColor face = pressed ? QColor(120, 150, 200) : QColor(190, 190, 190);
    img.fill(face);
    QPainter p(&img);
    p.setPen(pressed ? QColor(60, 60, 60) : QColor(255, 255, 255));
    p.drawLine(0, 0, KnobWidth - 1, 0);
    p.drawLine(0, 0, 0, KnobHeight - 1);
    p.setPen(pressed ? QColor(255, 255, 255) : QColor(60, 60, 60));
    p.drawLine(KnobWidth - 1, 0, KnobWidth - 1, KnobHeight - 1);
    p.drawLine(0, KnobHeight - 1, KnobWidth - 1, KnobHeight - 1);
    // The centre line marks the reference row, five rows below the knob's top.
    p.setPen(QColor(0, 0, 0));
    p.drawLine(2, 5, KnobWidth - 3, 5);
    return img;
}

} // namespace m7410
