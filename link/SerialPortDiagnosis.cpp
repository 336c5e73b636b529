#include "link/SerialPortDiagnosis.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace m7410 {

namespace {

using Kind = SerialPortProblem::Kind;

// Where terminal programs (and Qt's serial port) leave their "LCK.." files.
const char* const LockFolders[] = {"/var/lock",        "/run/lock",       "/var/spool/lock",
                                   "/var/spool/locks", "/var/spool/uucp", "/tmp"};

std::string lockFileName(const std::string& path) {
    std::string name = path.starts_with("/dev/") ? path.substr(5) : path;
    for (char& c : name)
        if (c == '/') c = '_';
    return "LCK.." + name;
}

std::string firstLine(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

struct LockHolder {
    long pid = 0;
    std::string program;
};

// The live process a lock file names. Both the text form (the number, maybe padded) and Qt's
// form (number, program, host on three lines) begin with the number.
LockHolder lockHolder(const std::string& path) {
    const std::string name = lockFileName(path);
    for (const char* folder : LockFolders) {
        std::ifstream in(std::string(folder) + "/" + name);
        long pid = 0;
        if (!(in >> pid) || pid <= 0) continue;
        // A lock whose process is gone does not stop anyone.
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) continue;
        std::string program = firstLine("/proc/" + std::to_string(pid) + "/comm");
        if (program.empty()) {
            std::string rest;
            std::getline(in, rest); // the end of the number's line
            std::getline(in, program);
        }
        return {pid, program};
    }
    return {};
}

bool inGroup(gid_t gid) {
    if (getegid() == gid) return true;
    const int n = getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(n > 0 ? n : 0));
    if (n > 0 && getgroups(n, groups.data()) != n) return false;
    for (gid_t g : groups)
        if (g == gid) return true;
    return false;
}

std::string permissionText(const std::string& path, const struct stat& st) {
    const std::string text = "permission denied on " + path;
    // Joining a group helps only when the group may read and write, and it is not root's.
    const struct group* g = getgrgid(st.st_gid);
    const bool groupMayUse = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    if (g == nullptr || st.st_gid == 0 || !groupMayUse)
        return text + " (ask the administrator for access)";
    const std::string group = g->gr_name;
    // Membership granted since logging in counts only in a new session.
    if (inGroup(st.st_gid)) return text + " (the group " + group + " may open it)";
    return text + ": join the group " + group + " (sudo usermod -aG " + group +
           " $USER, then log in again)";
}

SerialPortProblem problem(Kind kind, std::string text) {
    return {kind, std::move(text)};
}

} // namespace

SerialPortProblem diagnoseSerialPort(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return problem(Kind::Missing, path + " does not exist");
        if (errno == EACCES) return problem(Kind::PermissionDenied, "permission denied on " + path);
        return problem(Kind::Other, path + ": " + std::strerror(errno));
    }
    if (S_ISDIR(st.st_mode))
        return problem(Kind::NotSerial, path + " is a folder, not a serial port");
    if (!S_ISCHR(st.st_mode)) return problem(Kind::NotSerial, path + " is not a serial port");
    if (const LockHolder holder = lockHolder(path); holder.pid != 0) {
        if (holder.pid == getpid())
            return problem(Kind::InUse, path + " is already open in this program");
        const std::string who = holder.program.empty() ? "another program" : holder.program;
        return problem(Kind::InUse, path + " is in use by " + who + " (process " +
                                        std::to_string(holder.pid) + ")");
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM)
            return problem(Kind::PermissionDenied, permissionText(path, st));
        if (error == EBUSY) return problem(Kind::InUse, path + " is in use by another program");
        // A device node whose hardware is not there.
        if (error == ENXIO || error == ENODEV || error == EIO)
            return problem(Kind::Missing, path + " does not exist (no device behind it)");
        return problem(Kind::Other, path + ": " + std::strerror(error));
    }
    termios settings{};
    const bool terminal = ::tcgetattr(fd, &settings) == 0;
    ::close(fd);
    if (!terminal) return problem(Kind::NotSerial, path + " is not a serial port");
    return problem(Kind::Other, "the serial port " + path + " could not be opened");
}

const char* problemKindName(Kind kind) {
    switch (kind) {
    case Kind::Missing:
        return "missing";
    case Kind::NotSerial:
        return "not-serial";
    case Kind::PermissionDenied:
        return "permission";
    case Kind::InUse:
        return "in-use";
    case Kind::Other:
        break;
    }
    return "other";
}

} // namespace m7410
