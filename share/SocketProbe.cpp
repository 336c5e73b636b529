#include "share/SocketProbe.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace m7410 {

SocketState probeSocket(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0) return SocketState::Absent;
    if (!S_ISSOCK(st.st_mode)) return SocketState::NotASocket;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(native.size()) >= sizeof(address.sun_path))
        return SocketState::NotASocket;
    std::memcpy(address.sun_path, native.constData(), static_cast<std::size_t>(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return SocketState::Served; // cannot tell: leave the file alone
    const int r = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    const int why = errno;
    ::close(fd);
    // A full backlog (EAGAIN) is a live owner too.
    if (r == 0 || why == EAGAIN || why == EINPROGRESS) return SocketState::Served;
    if (why == ECONNREFUSED) return SocketState::Stale;
    return SocketState::Served;
}

} // namespace m7410
