#include "support/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace m7410 {

namespace {

QString systemReason(int error) {
    if (error == EACCES || error == EPERM) return QStringLiteral("permission denied");
    return QString::fromLocal8Bit(std::strerror(error));
}

// Permission as this process's file-system identity sees it, which is what an open or a
// rename will meet (not the real user's, as plain access() asks).
bool mayAccess(const QByteArray& name, int mode, int& error) {
    if (::faccessat(AT_FDCWD, name.constData(), mode, AT_EACCESS) == 0) return true;
    error = errno;
    return false;
}

// The file a write at path ends up replacing: the path itself, or where its links lead.
// Empty, with the reason, when a link leads nowhere or in a circle.
QString finalTarget(const QString& path, QString& reason) {
    QString target = path;
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(target);
        if (!info.isSymLink()) return target;
        const QString next = info.symLinkTarget();
        if (next.isEmpty()) break;
        target = next;
    }
    reason = QStringLiteral("a link that leads to no file");
    return {};
}

} // namespace

bool checkWritable(const QString& path, QString& reason, FolderWords words) {
    if (path.isEmpty()) {
        reason = QStringLiteral("no file name");
        return false;
    }
    const QString target = finalTarget(path, reason);
    if (target.isEmpty()) return false;
    const QByteArray name = QFile::encodeName(target);
    int error = 0;
    struct stat info {};
    if (::stat(name.constData(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            reason = words == FolderWords::Named && S_ISDIR(info.st_mode)
                         ? QStringLiteral("is a folder")
                         : QStringLiteral("not a regular file");
            return false;
        }
        if (!mayAccess(name, W_OK, error)) {
            reason = systemReason(error);
            return false;
        }
    } else if (errno != ENOENT) {
        reason = systemReason(errno);
        return false;
    } else if (QFileInfo(path).isSymLink()) {
        reason = QStringLiteral("a link that leads to no file");
        return false;
    }
    // The new file is made in the target's folder and renamed there.
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    if (::stat(folder.constData(), &info) != 0) {
        reason = errno == ENOENT ? QStringLiteral("no such folder") : systemReason(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        reason = QStringLiteral("no such folder");
        return false;
    }
    if (!mayAccess(folder, W_OK | X_OK, error)) {
        reason = systemReason(error);
        return false;
    }
    return true;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString& reason) {
    if (!checkWritable(path, reason)) return false;
    // The check just made is what the rename relies on; only root can make a device node in
    // its place between the two.
    QString ignored;
    QSaveFile file(finalTarget(path, ignored));
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        reason = errno == EACCES || errno == EPERM || errno == EROFS
                     ? QStringLiteral("permission denied")
                     : file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace m7410
