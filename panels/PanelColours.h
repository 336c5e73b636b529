#pragma once

#include <QColor>

namespace m7410 {

inline const QColor OpenPageColour(255, 255, 128);
inline const QColor IdleColour(224, 224, 224);
inline const QColor MutedColour(255, 0, 0);
inline const QColor ChosenModeColour(159, 197, 238);

} // namespace m7410
