// A character device like /dev/null inside a test's own folder, for tests of writers that must
// never replace a device: should one regress, it replaces this node and not the system's.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace m7410::test {

// Makes the node at path (root may, as CI is); elsewhere a link to /dev/null, which a writer
// without root's rights could not replace anyway. False when neither can be made.
inline bool makeNullDevice(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0) return true;
    return geteuid() != 0 && ::symlink("/dev/null", name.constData()) == 0;
}

inline bool isCharDevice(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

} // namespace m7410::test
