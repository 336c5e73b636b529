// Why a serial port does not open: a missing path, no terminal, a lock file's live holder, and a
// user outside the port's group.
#include "link/SerialPortDiagnosis.h"
#include "common/RealTime.h"

#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace m7410;
using Kind = SerialPortProblem::Kind;

namespace {

struct PtySlave {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    std::string path;
    PtySlave() {
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0) path = ptsname(master);
    }
    ~PtySlave() {
        if (master >= 0) ::close(master);
    }
    // The name terminal programs and Qt give the lock file of this port.
    std::string lockFile() const {
        std::string name = path.substr(5);
        for (char& c : name)
            if (c == '/') c = '_';
        return "/run/lock/LCK.." + name;
    }
};

} // namespace

TEST(SerialPortDiagnosis, TellsAMissingPathFromWhatIsNoSerialPort) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string file = folder + "/plain";
    std::ofstream(file) << "x";

    SerialPortProblem p = diagnoseSerialPort(folder + "/ttyUSB9");
    EXPECT_EQ(p.kind, Kind::Missing);
    EXPECT_EQ(p.text, folder + "/ttyUSB9 does not exist");
    p = diagnoseSerialPort(folder);
    EXPECT_EQ(p.kind, Kind::NotSerial);
    EXPECT_EQ(p.text, folder + " is a folder, not a serial port");
    EXPECT_EQ(diagnoseSerialPort(file).kind, Kind::NotSerial);
    // A character device, but no terminal.
    p = diagnoseSerialPort("/dev/null");
    EXPECT_EQ(p.kind, Kind::NotSerial);
    EXPECT_EQ(p.text, "/dev/null is not a serial port");
    EXPECT_STREQ(problemKindName(Kind::NotSerial), "not-serial");
}

TEST(SerialPortDiagnosis, NamesTheLiveProgramALockFileNamesAndPassesOverStaleOnes) {
    test::app();
    PtySlave pty;
    if (pty.path.empty()) GTEST_SKIP() << "no pseudo-terminal";
    if (access("/run/lock", W_OK) != 0) GTEST_SKIP() << "/run/lock is not writable";
    QProcess holder;
    holder.start("sleep", {"30"});
    ASSERT_TRUE(holder.waitForStarted());
    const std::string pid = std::to_string(holder.processId());

    // The old text form pads the number to ten places.
    std::ofstream(pty.lockFile()) << std::string(10 - pid.size(), ' ') << pid << '\n';
    SerialPortProblem p = diagnoseSerialPort(pty.path);
    EXPECT_EQ(p.kind, Kind::InUse);
    EXPECT_EQ(p.text, pty.path + " is in use by sleep (process " + pid + ")");

    holder.kill();
    holder.waitForFinished();
    p = diagnoseSerialPort(pty.path);
    EXPECT_EQ(p.kind, Kind::Other) << p.text;
    std::remove(pty.lockFile().c_str());

    // Qt's own lock, taken by a port this program holds.
    QSerialPort port(QString::fromStdString(pty.path));
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    EXPECT_EQ(diagnoseSerialPort(pty.path).text, pty.path + " is already open in this program");
    port.close();
    EXPECT_EQ(diagnoseSerialPort(pty.path).kind, Kind::Other);
}

TEST(SerialPortDiagnosis, SaysWhichGroupToJoin) {
    // Only root can take on another user's identity to be refused.
    if (geteuid() != 0) GTEST_SKIP() << "needs root to switch to an unprivileged user";
    PtySlave pty;
    if (pty.path.empty()) GTEST_SKIP() << "no pseudo-terminal";
    const struct group* g = getgrnam("tty");
    if (g == nullptr) GTEST_SKIP() << "no group tty";
    ASSERT_EQ(chown(pty.path.c_str(), 0, g->gr_gid), 0);
    ASSERT_EQ(chmod(pty.path.c_str(), 0660), 0);

    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    if (child == 0) {
        // "nobody", outside every group.
        const gid_t none = 65534;
        if (setgroups(0, nullptr) != 0 || setgid(none) != 0 || setuid(65534) != 0) _exit(2);
        const SerialPortProblem p = diagnoseSerialPort(pty.path);
        const std::string out = std::to_string(static_cast<int>(p.kind)) + " " + p.text;
        _exit(write(fds[1], out.data(), out.size()) == ssize_t(out.size()) ? 0 : 3);
    }
    ::close(fds[1]);
    char buffer[512] = {};
    const ssize_t n = read(fds[0], buffer, sizeof buffer - 1);
    ::close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n > 0 ? n : 0)),
              std::to_string(static_cast<int>(Kind::PermissionDenied)) + " permission denied on " +
                  pty.path +
                  ": join the group tty (sudo usermod -aG tty $USER, then log in again)");
}
