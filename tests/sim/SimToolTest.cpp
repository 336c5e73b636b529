#include "common/RealTime.h"
#include "sim/SimUnit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>

#include <gtest/gtest.h>

using namespace m7410;
using namespace m7410::sim;
using m7410::test::startSimulator;

namespace {

QByteArray readExactly(QSerialPort& port, qsizetype n, int timeoutMs) {
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (got.size() < n && t.elapsed() < timeoutMs) {
        if (port.bytesAvailable() > 0 || port.waitForReadyRead(50)) got += port.readAll();
    }
    return got;
}

Bytes toBytes(const QByteArray& a) {
    return Bytes(a.begin(), a.end());
}

} // namespace

// Real time, through a pseudo-terminal, as the application's serial path will see it.
TEST(SimTool, ServesTheUnitOnAPseudoTerminal) {
    QProcess sim;
    const QString path = startSimulator(sim);
    if (path.isEmpty()) GTEST_SKIP() << "m7410-sim does not serve a pseudo-terminal";

    QSerialPort port(path);
    port.setBaudRate(9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();

    SimUnit reference; // same start state as the unit in the program
    const Bytes status = statusRequest(0);
    port.write(reinterpret_cast<const char*>(status.data()), qint64(status.size()));
    EXPECT_EQ(toBytes(readExactly(port, 20, 3000)), reference.receiveFrame(status)[0]);

    const Bytes read = currentBlockReadRequest(0);
    port.write(reinterpret_cast<const char*>(read.data()), qint64(read.size()));
    const Bytes block = toBytes(readExactly(port, 332, 5000));
    EXPECT_EQ(block, reference.receiveFrame(read)[0]);
    ASSERT_EQ(block.size(), 332u);
    EXPECT_EQ(block[330], frameChecksum(block.data(), 320));

    port.close();
    sim.kill();
    sim.waitForFinished(3000);
}
