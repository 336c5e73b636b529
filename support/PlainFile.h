// The one reader for every file the programs read: a regular file up to a size limit, or a reason.
#pragma once

#include <QByteArray>
#include <QString>

namespace m7410 {

// Nothing at a path a user or a vendor chooses is trusted: a pipe would block the reader, a
// device may never end, and a huge file would eat the memory. Only a regular file up to a size
// limit for its kind is read; anything else is refused with a one-line reason.
struct PlainFile {
    // The limit of each kind of file, far above what a real one of its kind holds.
    static constexpr qint64 SettingsLimit = qint64(1) << 20;    // 1 MiB
    static constexpr qint64 LogoLimit = qint64(64) << 20;       // 64 MiB
    static constexpr qint64 FilterTextLimit = qint64(1) << 20;  // Equalizer APO and REW texts
    static constexpr qint64 PresetFileLimit = qint64(64) << 10; // 20 lines of 664 digits
    static constexpr qint64 MeasurementLimit = qint64(16) << 20;

    enum class Status { Read, Missing, Refused };
    Status status = Status::Missing;
    QByteArray bytes;
    // Why a file was not read: "not a regular file", "larger than 1 MiB" or the system's reason
    // (also set when the file is missing).
    QString reason;
    // Refused for its size alone, which some callers report as damage rather than as a fault.
    bool tooLarge = false;

    static PlainFile read(const QString& path, qint64 limit);
};

} // namespace m7410
