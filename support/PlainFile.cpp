#include "support/PlainFile.h"

#include "support/PlainFileReader.h"

#include <QFile>

namespace m7410 {

PlainFile PlainFile::read(const QString& path, qint64 limit) {
    const PlainRead r = readPlainFile(QFile::encodeName(path).toStdString(), limit);
    PlainFile out;
    out.status = r.status == PlainRead::Status::Read      ? Status::Read
                 : r.status == PlainRead::Status::Missing ? Status::Missing
                                                          : Status::Refused;
    out.bytes = QByteArray(r.bytes.data(), static_cast<qsizetype>(r.bytes.size()));
    out.reason = QString::fromLocal8Bit(r.reason.data(), static_cast<qsizetype>(r.reason.size()));
    out.tooLarge = r.tooLarge;
    return out;
}

} // namespace m7410
