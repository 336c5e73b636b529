#include "common/RealTime.h"
#include "sim/SimUnit.h"

#include "LinkTestSupport.h"

#include "link/SerialPortRegister.h"
#include "link/SerialTransport.h"
#include "protocol/Frame.h"
#include "support/HexText.h"
#include "support/RealClock.h"
#include "support/VirtualClock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QProcess>
#include <QThread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

using namespace m7410;
using namespace m7410::test;
using ::testing::ElementsAre;

namespace {

std::vector<SerialPortEntry> ports(std::initializer_list<const char*> names) {
    std::vector<SerialPortEntry> list;
    for (const char* name : names)
        list.push_back({name, QString("/dev/") + name, 0});
    return list;
}

TEST(SerialPortRegister, SortsWithoutCaseAppendsGivenPathsAndRefreshesOnlyWhenClosed) {
    VirtualClock clock;
    int32_t linkOpen = 0;
    std::optional<std::vector<SerialPortEntry>> system = ports({"COM3", "COM1", "com12"});
    SerialPortRegister list(clock, linkOpen, [&] { return system; });

    EXPECT_THAT(list.names(), ElementsAre("COM1", "com12", "COM3"));
    ASSERT_NE(list.selectedEntry(), nullptr);
    EXPECT_EQ(list.selectedEntry()->name, "COM3");
    EXPECT_EQ(list.selectedEntry()->number, 3);
    EXPECT_EQ(list.ports()[1].number, 12);

    list.setExtraPorts({"/dev/pts/7", "/tmp/ttyV0"});
    EXPECT_THAT(list.names(), ElementsAre("COM1", "com12", "COM3", "/dev/pts/7", "/tmp/ttyV0"));
    EXPECT_EQ(list.selectedEntry()->location, "/tmp/ttyV0");
    EXPECT_EQ(list.selectedEntry()->number, 0);

    list.select(0);
    clock.advance(SerialPortRegister::RefurbishIntervalMs); // unchanged: selection stays
    EXPECT_EQ(list.selectedIndex(), 0);

    system = ports({"COM3", "COM1", "com12", "ttyUSB0"});
    linkOpen = 1;
    clock.advance(SerialPortRegister::RefurbishIntervalMs); // open link: nothing changes
    EXPECT_EQ(list.ports().size(), 5u);
    linkOpen = 0;
    clock.advance(SerialPortRegister::RefurbishIntervalMs);
    EXPECT_THAT(list.names(),
                ElementsAre("COM1", "com12", "COM3", "ttyUSB0", "/dev/pts/7", "/tmp/ttyV0"));
    EXPECT_EQ(list.selectedIndex(), 5);

    system.reset(); // the system cannot tell: the list stays as it is
    clock.advance(SerialPortRegister::RefurbishIntervalMs);
    EXPECT_EQ(list.ports().size(), 6u);
}

// The other end of a pseudo-terminal stands in for the unit.
struct Pty {
    int master = -1;
    QString slave;

    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
        slave = QString::fromLocal8Bit(ptsname(master));
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~Pty() { closeMaster(); }
    void closeMaster() {
        if (master >= 0) ::close(master);
        master = -1;
    }
    void send(const Bytes& bytes) const {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    Bytes receive(std::size_t count) const {
        Bytes got;
        processUntil([&] {
            uint8_t buffer[256];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) got.insert(got.end(), buffer, buffer + n);
            return got.size() >= count;
        });
        return got;
    }
};

// Counts the times a file descriptor woke the event loop.
struct PortWakeCounter : QObject {
    int count = 0;
    PortWakeCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~PortWakeCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::SockAct) ++count;
        return false;
    }
};

Bytes pattern(std::size_t size, uint8_t start) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(start + i);
    return bytes;
}

TEST(SerialTransport, TakesReceivedBytesInBatchesAndClosesOnFailure) {
    app();
    Pty pty;
    if (pty.slave.isEmpty()) GTEST_SKIP() << "no pseudo-terminal";
    VirtualClock clock;
    RecordingSink sink;
    int32_t linkOpen = 0;
    SerialTransport serial(clock, sink, linkOpen);

    serial.choosePort({"missing", "/nonexistent/ttyX", 5});
    EXPECT_FALSE(serial.OpenSerialPort());
    EXPECT_EQ(linkOpen, 0);

    serial.choosePort({"pts", pty.slave, 0});
    ASSERT_TRUE(serial.OpenSerialPort());
    EXPECT_EQ(linkOpen, 1);
    serial.StartSerialWaitThread();

    // Bytes that come during the pause join the batch. They wait in the input queue: the
    // pieces of a reply must not wake the window one by one.
    const Bytes first = pattern(5, 0xA0), second = pattern(7, 0x10);
    pty.send(first);
    ASSERT_TRUE(processUntil([&] { return clock.nextDueMs().has_value(); }));
    {
        PortWakeCounter wakes;
        pty.send(Bytes(second.begin(), second.begin() + 3));
        processUntil([] { return false; }, 15);
        pty.send(Bytes(second.begin() + 3, second.end()));
        processUntil([] { return false; }, 15);
        EXPECT_EQ(wakes.count, 0);
    }
    clock.advance(SerialTransport::BatchDelayMs - 1);
    EXPECT_TRUE(sink.received.empty());
    clock.advance(1);
    ASSERT_EQ(sink.received.size(), 1u);
    EXPECT_EQ(sink.received[0], toHex(first) + toHex(second));

    // More than one batch waiting: 1024 bytes now, the rest after another pause.
    const Bytes lump = pattern(1500, 0);
    pty.send(lump);
    ASSERT_TRUE(processUntil([&] { return clock.nextDueMs().has_value(); }));
    processUntil([] { return false; }, 30);
    clock.advance(SerialTransport::BatchDelayMs);
    ASSERT_EQ(sink.received.size(), 2u);
    EXPECT_EQ(sink.text.size(), 2 * (12 + 1024u));
    clock.advance(SerialTransport::BatchDelayMs);
    ASSERT_EQ(sink.received.size(), 3u);
    EXPECT_EQ(sink.text, toHex(first) + toHex(second) + toHex(lump));

    serial.serialSendText = statusRequest(0);
    serial.WriteSerial();
    EXPECT_EQ(pty.receive(12), statusRequest(0));

    // The line goes dead: the port closes, the link stays open for its time-outs to end.
    pty.closeMaster();
    ASSERT_TRUE(processUntil([&] { return !serial.isPortOpen(); }));
    EXPECT_EQ(linkOpen, 1);
    serial.WriteSerial(); // nothing to write to, nothing breaks
    serial.CloseSerialPort();
    EXPECT_EQ(linkOpen, 0);
}

TEST(SerialTransport, OpensTheLineAt9600EightBitsNoParityOneStopBit) {
    app();
    Pty pty;
    if (pty.slave.isEmpty()) GTEST_SKIP() << "no pseudo-terminal";
    // Start from other settings, so only the opening can have set the line.
    const int line = ::open(pty.slave.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(line, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(line, &t), 0);
    cfsetispeed(&t, B38400);
    cfsetospeed(&t, B38400);
    t.c_cflag = (t.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB;
    ASSERT_EQ(tcsetattr(line, TCSANOW, &t), 0);

    VirtualClock clock;
    RecordingSink sink;
    int32_t linkOpen = 0;
    SerialTransport serial(clock, sink, linkOpen);
    serial.choosePort({"pts", pty.slave, 0});
    ASSERT_TRUE(serial.OpenSerialPort());

    ASSERT_EQ(tcgetattr(line, &t), 0);
    ::close(line);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
    EXPECT_EQ(cfgetispeed(&t), speed_t(B9600));
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(t.c_cflag & PARENB, 0u);
    EXPECT_EQ(t.c_cflag & CSTOPB, 0u);
    serial.CloseSerialPort();
}

TEST(SerialTransport, RoundTripWithTheSimulatedUnitOnAPseudoTerminal) {
    QProcess sim;
    const QString path = startSimulator(sim);
    if (path.isEmpty()) GTEST_SKIP() << "m7410-sim does not serve a pseudo-terminal";

    RealClock clock;
    RecordingSink sink;
    int32_t linkOpen = 0;
    SerialTransport serial(clock, sink, linkOpen);
    serial.choosePort({path, path, 0});
    ASSERT_TRUE(serial.OpenSerialPort());
    serial.StartSerialWaitThread();
    serial.serialSendText = currentBlockReadRequest(0);
    serial.WriteSerial();

    // At line speed the 332-byte reply takes about 350 ms, so it comes in several batches.
    sim::SimUnit reference;
    const std::string expected = toHex(reference.receiveFrame(currentBlockReadRequest(0))[0]);
    ASSERT_TRUE(processUntil([&] { return sink.text.size() >= expected.size(); }, 5000));
    EXPECT_EQ(sink.text, expected);
    EXPECT_GT(sink.received.size(), 1u);
    serial.CloseSerialPort();
    sim.terminate();
    sim.waitForFinished(3000);
}

} // namespace
