#pragma once

#include <QString>

namespace m7410 {

// The characters a preset name may hold: printable ASCII, space to '~'.
inline QString nameCharacters() {
    QString all;
    for (char c = 0x20; c <= 0x7E; ++c)
        all += QLatin1Char(c);
    return all;
}

} // namespace m7410
