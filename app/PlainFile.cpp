#include "app/PlainFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace m7410 {

namespace {

QString sizeText(qint64 limit) {
    return limit % (qint64(1) << 20) == 0 ? QStringLiteral("%1 MiB").arg(limit >> 20)
                                          : QStringLiteral("%1 bytes").arg(limit);
}

} // namespace

PlainFile PlainFile::read(const QString& path, qint64 limit) {
    PlainFile out;
    const QFileInfo info(path); // follows links, so a link to a device is refused too
    if (!info.exists()) return out;
    out.status = Status::Refused;
    if (!info.isFile()) {
        out.reason = QStringLiteral("not a regular file");
        return out;
    }
    const QString tooLarge = QStringLiteral("larger than %1").arg(sizeText(limit));
    if (info.size() > limit) {
        out.reason = tooLarge;
        return out;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.reason = file.errorString();
        return out;
    }
    // The file may have grown or been replaced since it was looked at: read no more than
    // the limit allows either way. The first read is sized by the file, not by the limit, so a
    // small file does not cost a buffer of the limit's size.
    out.bytes = file.read(std::min(info.size(), limit) + 1);
    if (out.bytes.size() > info.size() && out.bytes.size() <= limit)
        out.bytes += file.read(limit + 1 - out.bytes.size());
    if (file.error() != QFileDevice::NoError) {
        out.bytes.clear();
        out.reason = file.errorString();
        return out;
    }
    if (out.bytes.size() > limit) {
        out.bytes.clear();
        out.reason = tooLarge;
        return out;
    }
    out.status = Status::Read;
    return out;
}

QImage readLogoFile(const QString& path, QString& reason) {
    PlainFile file = PlainFile::read(path, PlainFile::LogoLimit);
    if (file.status == PlainFile::Status::Missing) {
        reason = QStringLiteral("File not found");
        return {};
    }
    if (file.status == PlainFile::Status::Refused) {
        reason = file.reason;
        return {};
    }
    QBuffer buffer(&file.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // A few bytes can declare a picture of any size: a huge one is refused before it is
    // decoded, and whatever is shown can be saved back as a bitmap the next start reads.
    const auto tooLarge = [](QSize size) {
        return qint64(size.width()) * size.height() > PlainFile::LogoPixelLimit;
    };
    const QString tooManyPixels =
        QStringLiteral("picture larger than %1 pixels").arg(PlainFile::LogoPixelLimit);
    if (tooLarge(reader.size())) {
        reason = tooManyPixels;
        return {};
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        reason = reader.errorString();
    } else if (tooLarge(picture.size())) {
        reason = tooManyPixels;
        return {};
    }
    return picture;
}

} // namespace m7410
