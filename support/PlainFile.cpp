#include "support/PlainFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace m7410 {

namespace {

QString sizeText(qint64 limit) {
    if (limit % (qint64(1) << 20) == 0) return QStringLiteral("%1 MiB").arg(limit >> 20);
    if (limit % (qint64(1) << 10) == 0) return QStringLiteral("%1 KiB").arg(limit >> 10);
    return QStringLiteral("%1 bytes").arg(limit);
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

PlainFile PlainFile::read(const QString& path, qint64 limit) {
    PlainFile out;
    const QByteArray name = QFile::encodeName(path);
    // Looked at before it is opened, since opening a device can itself do something (a tape
    // rewinds, a serial port raises its lines). Both looks follow links, so a link to a device
    // is refused too.
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        const int error = errno;
        out.reason = systemReason(error);
        if (error != ENOENT && error != ENOTDIR) out.status = Status::Refused;
        return out;
    }
    out.status = Status::Refused;
    if (!S_ISREG(info.st_mode)) {
        out.reason = QStringLiteral("not a regular file");
        return out;
    }
    // Opened without waiting and looked at again through the open handle, so a pipe swapped in
    // meanwhile can neither block the open nor be read.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        out.reason = systemReason(errno);
        return out;
    }
    if (::fstat(fd, &info) != 0) {
        out.reason = systemReason(errno);
        ::close(fd);
        return out;
    }
    if (!S_ISREG(info.st_mode)) {
        out.reason = QStringLiteral("not a regular file");
        ::close(fd);
        return out;
    }
    const QString tooLarge = QStringLiteral("larger than %1").arg(sizeText(limit));
    const qint64 size = info.st_size;
    if (size > limit) {
        ::close(fd);
        out.reason = tooLarge;
        out.tooLarge = true;
        return out;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        out.reason = file.errorString();
        return out;
    }
    // The file may have grown since it was looked at: read no more than the limit allows
    // either way. The first read is sized by the file, not by the limit, so a small file does
    // not cost a buffer of the limit's size.
    out.bytes = file.read(std::min(size, limit) + 1);
    if (out.bytes.size() > size && out.bytes.size() <= limit)
        out.bytes += file.read(limit + 1 - out.bytes.size());
    if (file.error() != QFileDevice::NoError) {
        out.bytes.clear();
        out.reason = file.errorString();
        return out;
    }
    if (out.bytes.size() > limit) {
        out.bytes.clear();
        out.reason = tooLarge;
        out.tooLarge = true;
        return out;
    }
    out.status = Status::Read;
    out.reason.clear();
    return out;
}

} // namespace m7410
