#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace m7410 {

// Reading the small files beside the program (settings, logo) without trusting what sits at
// their path: a pipe would block the start, a device may never end, and a huge file would
// eat the memory. Only a regular file up to a size limit is read.
struct PlainFile {
    static constexpr qint64 SettingsLimit = qint64(1) << 20; // 1 MiB
    static constexpr qint64 LogoLimit = qint64(64) << 20;    // 64 MiB
    // At four bytes a pixel or less, the settings box saves any picture this large as a bitmap
    // the next start-up still reads (within LogoLimit).
    static constexpr qint64 LogoPixelLimit = 16'000'000;

    enum class Status { Read, Missing, Refused };
    Status status = Status::Missing;
    QByteArray bytes;
    // Why a file was refused: "not a regular file", "larger than 1 MiB" or the system's reason.
    QString reason;

    static PlainFile read(const QString& path, qint64 limit);
};

// The logo picture from a file: null with the reason when it is absent, refused, not a
// picture, or a picture of more than LogoPixelLimit pixels.
QImage readLogoFile(const QString& path, QString& reason);

} // namespace m7410
