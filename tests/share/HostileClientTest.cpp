// The owner under clients that send what they should not, or do not read: each gets an error
// result or is dropped, and the owner and its other clients go on.
#include "ShareRig.h"

#include <QFile>

#include <cerrno>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace m7410::test {
namespace {

using HostileClients = ShareRig;

TEST_F(HostileClients, BadRequestsGetErrorResultsAndTheConnectionStaysUsable) {
    RawClient c(*this, server->socketPath());
    EXPECT_EQ(c.hello.value("event").toString(), "hello");
    EXPECT_EQ(c.hello.value("protocol").toInt(), ProtocolVersion);

    c.sendLine("{not json");
    EXPECT_EQ(errorKind(c.reply()), "bad-request");
    c.sendLine("[1,2]");
    EXPECT_EQ(errorKind(c.reply()), "bad-request");
    c.sendLine(R"({"v":1,"method":"status"})");
    EXPECT_EQ(errorKind(c.reply()), "bad-request");
    c.sendLine(R"({"v":2,"id":1,"method":"status"})");
    const QJsonObject version = c.reply();
    EXPECT_EQ(errorKind(version), "unsupported-version");
    EXPECT_EQ(version.value("id").toInt(), 1);
    c.sendLine(R"({"v":1,"id":2,"method":"status","params":[]})");
    EXPECT_EQ(errorKind(c.reply()), "bad-request");

    EXPECT_EQ(errorKind(c.call(3, "reboot")), "unknown-method");
    EXPECT_EQ(errorKind(c.call(4, "recall", {{"slot", "3"}})), "invalid-argument");
    EXPECT_EQ(errorKind(c.call(5, "recall", {{"slot", 21}})), "invalid-argument");
    EXPECT_EQ(errorKind(c.call(6, "recall", {{"slot", 2.5}})), "invalid-argument");
    EXPECT_EQ(errorKind(c.call(7, "set", {{"path", "high.gain"}, {"value", 40}})), "invalid-argument");
    EXPECT_EQ(errorKind(c.call(8, "set", {{"path", "high.gain"}, {"index", 100000}})), "invalid-argument");
    EXPECT_EQ(errorKind(c.call(9, "set", {{"path", "high.nothing"}, {"value", 1}})), "invalid-argument");
    EXPECT_EQ(errorKind(c.call(10, "set", {{"path", "high.mute"}, {"value", true}})), "invalid-argument");
    EXPECT_EQ(errorKind(c.call(11, "backup", {{"path", "relative.m7410"}})), "invalid-argument");
    EXPECT_EQ(errorKind(c.call(12, "store", {{"slot", 1}, {"name", QString::fromUtf8("\u20ac")}})),
              "invalid-argument");
    EXPECT_EQ(errorKind(c.call(13, "apply-eq", {{"channel", "high"}, {"bands", QJsonArray{1, 2}}})),
              "invalid-argument");

    // An over-long line is refused unread; the next line is served.
    c.sendLine(QByteArray(RequestLineLimit + 10, 'x'));
    EXPECT_EQ(errorKind(c.reply()), "request-too-long");
    const QJsonObject status = c.call(14, "status");
    EXPECT_EQ(status.value("id").toInt(), 14);
    EXPECT_TRUE(status.value("value").toObject().value("connected").toBool());
    const QJsonObject get = c.call(15, "get", {{"path", "high.gain"}});
    EXPECT_TRUE(get.value("value").toObject().contains("text"));
    EXPECT_EQ(sim.framesReceived(KindWrite, CodePresetBlock), 0);
    EXPECT_TRUE(unit.isConnected());
}

TEST_F(HostileClients, AClientThatDoesNotReadIsDroppedAndOthersGoOn) {
    server->setOutgoingLimit(64 * 1024);
    // A plain socket that sends and never reads: the kernel's buffers fill, then the owner's.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(server->socketPath());
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_TRUE(pumpUntil([&] { return server->clientCount() == 1; }));
    const QByteArray line = R"({"v":1,"id":1,"method":"model"})" "\n";
    for (int round = 0; round < 400 && server->clientCount() == 1; ++round) {
        for (int k = 0; k < 20; ++k)
            if (::send(fd, line.constData(), static_cast<std::size_t>(line.size()), MSG_NOSIGNAL) < 0) break;
        pump(1);
    }
    EXPECT_EQ(server->clientCount(), 0) << "the client that does not read was dropped";
    ::close(fd);

    auto c = client();
    EXPECT_TRUE(c->await<UnitStatus>([&](UnitDone<UnitStatus> d) { c->readStatus(std::move(d)); }));
}

} // namespace
} // namespace m7410::test
