#include "settings/LogoFile.h"

#include "support/PlainFile.h"

#include <QBuffer>
#include <QImageReader>

namespace m7410 {

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
        return qint64(size.width()) * size.height() > LogoPixelLimit;
    };
    const QString tooManyPixels =
        QStringLiteral("picture larger than %1 pixels").arg(LogoPixelLimit);
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
