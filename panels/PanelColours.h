#pragma once

#include <QColor>

namespace m7410 {

inline const QColor OpenPageColour(255, 255, 128);
inline const QColor IdleColour(224, 224, 224);
inline const QColor MutedColour(255, 0, 0);
inline const QColor ChosenModeColour(159, 197, 238);

// Band numbers on the EQ rows share the colours of the graph's band markers.
inline const QColor BandColours[6] = {QColor(255, 252, 0), QColor(255, 0, 0),   QColor(0, 252, 255),
                                      QColor(0, 252, 0),   QColor(255, 0, 255), QColor(0, 0, 255)};

} // namespace m7410
