#include "support/PlainFileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace m7410 {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd; }

private:
    int fd;
};

PlainRead refused(PlainRead out, std::string reason) {
    out.status = PlainRead::Status::Refused;
    out.bytes.clear();
    out.reason = std::move(reason);
    return out;
}

} // namespace

std::string sizeLimitText(long long limit) {
    if (limit % (1LL << 20) == 0) return std::to_string(limit >> 20) + " MiB";
    if (limit % (1LL << 10) == 0) return std::to_string(limit >> 10) + " KiB";
    return std::to_string(limit) + " bytes";
}

PlainRead readPlainFile(const std::string& path, long long limit) {
    PlainRead out;
    // Looked at before it is opened, since opening a device can itself do something (a tape
    // rewinds, a serial port raises its lines). Both looks follow links, so a link to a device
    // is refused too.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        out.reason = std::strerror(error);
        if (error != ENOENT && error != ENOTDIR) out.status = PlainRead::Status::Refused;
        return out;
    }
    out.notRegular = !S_ISREG(info.st_mode);
    if (out.notRegular) return refused(out, "not a regular file");
    // Opened without waiting and looked at again through the open handle, so a pipe swapped in
    // meanwhile can neither block the open nor be read.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return refused(out, std::strerror(errno));
    if (::fstat(fd.get(), &info) != 0) return refused(out, std::strerror(errno));
    out.notRegular = !S_ISREG(info.st_mode);
    if (out.notRegular) return refused(out, "not a regular file");
    const std::string tooLarge = "larger than " + sizeLimitText(limit);
    const long long size = info.st_size;
    if (size > limit) {
        out.tooLarge = true;
        return refused(out, tooLarge);
    }
    // The file may have grown since it was looked at: read no more than one byte past the
    // limit either way. The buffer is sized by the file, not by the limit, so a small file
    // does not cost a buffer of the limit's size.
    const std::size_t most = static_cast<std::size_t>(limit) + 1;
    out.bytes.resize(std::min(static_cast<std::size_t>(size) + 1, most));
    std::size_t got = 0;
    for (;;) {
        if (got == out.bytes.size()) {
            if (got >= most) break;
            out.bytes.resize(std::min(most, got + 65536));
        }
        const ssize_t n = ::read(fd.get(), out.bytes.data() + got, out.bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return refused(out, std::strerror(errno));
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    out.bytes.resize(got);
    if (static_cast<long long>(got) > limit) {
        out.tooLarge = true;
        return refused(out, tooLarge);
    }
    out.status = PlainRead::Status::Read;
    return out;
}

} // namespace m7410
