#include "share/RuntimeFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace m7410 {

namespace {

// A socket's path must fit in sockaddr_un (108 bytes) with the folder before it.
constexpr qsizetype NameLengthMax = 64;

QString tidy(const QString& text) {
    QString out;
    for (QChar c : text) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '.' || c == '_';
        out += keep ? c : QChar('-');
    }
    return out;
}

// Long names keep their start and gain a hash of the whole, so two long paths stay apart.
QString bounded(const QString& name) {
    if (name.size() <= NameLengthMax) return name;
    const QByteArray hash =
        QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    return name.left(NameLengthMax - 9) + '-' + QString::fromLatin1(hash);
}

} // namespace

std::optional<QString> runtimeFolder(QString& error, bool create) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QString base = runtime.isEmpty() ? QDir::homePath() : QString::fromLocal8Bit(runtime);
    const QString folder = base + (runtime.isEmpty() ? "/.m7410" : "/m7410");
    const QByteArray native = QFile::encodeName(folder);
    if (create && ::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        error = folder + ": " + QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
        error = folder + ": not a folder of this user";
        return std::nullopt;
    }
    if ((st.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0) {
        error = folder + ": others may enter it and it cannot be closed to them";
        return std::nullopt;
    }
    return folder;
}

QString socketNameFor(const UnitIdentity& id) {
    if (id.usb)
        return bounded("usb-" + tidy(QString::fromStdString(id.serial)) + '-' +
                       tidy(QFileInfo(QString::fromStdString(id.node)).fileName()));
    return bounded("serial-" + tidy(QString::fromStdString(id.port).mid(1)));
}

QString socketNameForPort(const QString& port) {
    const QString resolved = QFileInfo(port).canonicalFilePath();
    UnitIdentity id;
    id.port = (resolved.isEmpty() ? QFileInfo(port).absoluteFilePath() : resolved).toStdString();
    return socketNameFor(id);
}

bool isUsbSocketName(const QString& name) { return name.startsWith("usb-"); }

} // namespace m7410
