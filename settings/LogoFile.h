// Reading the logo picture beside the program, bounded in bytes and in pixels.
#pragma once

#include <QImage>
#include <QString>

namespace m7410 {

// At four bytes a pixel or less, the settings box saves any picture this large as a bitmap the
// next start-up still reads (within the logo's byte limit).
inline constexpr qint64 LogoPixelLimit = 16'000'000;

// The logo picture from a file: null with the reason when it is absent, refused, not a
// picture, or a picture of more than LogoPixelLimit pixels.
QImage readLogoFile(const QString& path, QString& reason);

} // namespace m7410
