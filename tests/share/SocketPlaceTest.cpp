// Where an owner's socket lives and who may reach it: the private folder and socket modes,
// one owner per unit, and the file a crashed owner left behind.
#include "ShareRig.h"

#include "share/PeerUser.h"
#include "share/RuntimeFolder.h"
#include "share/SocketProbe.h"

#include <QFile>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace m7410::test {
namespace {

using SocketPlace = ShareRig;

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 0777;
}

// A socket file with nobody listening, as an owner that was killed leaves it.
void leaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::memcpy(address.sun_path, native.constData(), static_cast<std::size_t>(native.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
}

TEST_F(SocketPlace, OnlyTheUserMayReachTheSocket) {
    const QString path = server->socketPath();
    EXPECT_TRUE(path.startsWith(runtime.path() + "/m7410/usb-")) << path.toStdString();
    EXPECT_EQ(modeOf(runtime.path() + "/m7410"), 0700u);
    EXPECT_EQ(modeOf(path), 0600u);

    // A folder others could enter is closed to them.
    ::chmod(QFile::encodeName(runtime.path() + "/m7410").constData(), 0755);
    QString error;
    ASSERT_TRUE(runtimeFolder(error)) << error.toStdString();
    EXPECT_EQ(modeOf(runtime.path() + "/m7410"), 0700u);

    // Without a runtime folder the sockets go under the home folder.
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("HOME", home.path().toLocal8Bit());
    const std::optional<QString> fallback = runtimeFolder(error);
    qputenv("HOME", savedHome);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    ASSERT_TRUE(fallback) << error.toStdString();
    EXPECT_EQ(*fallback, home.path() + "/.m7410");
    EXPECT_EQ(modeOf(*fallback), 0700u);
}

// The warnings of the share category, caught while a test runs.
std::vector<QString> shareWarnings;
void catchShareWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && QByteArray(context.category) == "m7410.share")
        shareWarnings.push_back(text);
}

TEST_F(SocketPlace, APeerOfAnotherUserIsRefusedAndLoggedAndOthersGoOn) {
    RawClient first(*this, server->socketPath());
    ASSERT_EQ(first.hello.value("event").toString(), "hello");
    bool otherUser = true;
    server->setPeerUserLookup([&otherUser](qintptr fd) -> std::optional<uid_t> {
        if (otherUser) return ::getuid() + 1;
        return peerUserOf(fd);
    });
    shareWarnings.clear();
    const QtMessageHandler saved = qInstallMessageHandler(catchShareWarnings);
    RawClient stranger(*this, server->socketPath());
    qInstallMessageHandler(saved);
    EXPECT_TRUE(stranger.hello.isEmpty());
    EXPECT_NE(stranger.socket.state(), QLocalSocket::ConnectedState);
    EXPECT_TRUE(stranger.call(1, "status").isEmpty());
    ASSERT_EQ(shareWarnings.size(), 1u);
    EXPECT_TRUE(shareWarnings[0].contains(QString("user %1").arg(::getuid() + 1)))
        << shareWarnings[0].toStdString();
    EXPECT_EQ(server->clientCount(), 1);

    // The client served before goes on, and the owner's own user still gets in.
    EXPECT_FALSE(first.call(2, "status").contains("error"));
    otherUser = false;
    RawClient later(*this, server->socketPath());
    EXPECT_EQ(later.hello.value("event").toString(), "hello");
    EXPECT_FALSE(later.call(3, "status").contains("error"));
}

TEST_F(SocketPlace, OneOwnerPerUnitAndAStaleSocketIsReplaced) {
    const QString path = server->socketPath();
    EXPECT_EQ(probeSocket(path), SocketState::Served);
    UnitServer second(unit, clock);
    QString error;
    EXPECT_FALSE(second.listen(path, error));
    EXPECT_NE(error.indexOf("another program serves"), -1) << error.toStdString();

    server.reset();
    EXPECT_EQ(probeSocket(path), SocketState::Absent) << "a closed owner removes its socket";
    leaveStaleSocket(path);
    EXPECT_EQ(probeSocket(path), SocketState::Stale);
    UnitServer after(unit, clock);
    ASSERT_TRUE(after.listen(path, error)) << error.toStdString();
    RawClient c(*this, path);
    EXPECT_EQ(c.hello.value("event").toString(), "hello");

    // Any other file at the path is not a socket of ours, and stays as it is.
    const QString plain = runtime.path() + "/m7410/serial-plain";
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
    f.close();
    UnitServer third(unit, clock);
    EXPECT_FALSE(third.listen(plain, error));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "keep");
}

TEST(SocketNames, NameTheDeviceAndStayShort) {
    UnitIdentity usb;
    usb.usb = true;
    usb.node = "/dev/hidraw3";
    usb.serial = "0000002";
    EXPECT_EQ(socketNameFor(usb), "usb-0000002-hidraw3");
    EXPECT_TRUE(isUsbSocketName(socketNameFor(usb)));
    UnitIdentity serial;
    serial.port = "/dev/ttyUSB0";
    EXPECT_EQ(socketNameFor(serial), "serial-dev-ttyUSB0");
    serial.port = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0-and-more-text";
    UnitIdentity other = serial;
    other.port += "2";
    EXPECT_LE(socketNameFor(serial).size(), 64);
    EXPECT_NE(socketNameFor(serial), socketNameFor(other));
}

} // namespace
} // namespace m7410::test
