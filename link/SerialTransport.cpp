#include "link/SerialTransport.h"

#include "link/LinkLogging.h"
#include "protocol/InboundSink.h"
#include "support/Clock.h"
#include "support/HexText.h"

#include <array>

namespace m7410 {

SerialTransport::SerialTransport(Clock& clock, InboundSink& sink, int32_t& linkOpen)
    : sink(sink), linkOpen(linkOpen) {
    batchTimer = clock.createTimer(
        BatchDelayMs, [this] { readBatch(); }, true);
    QObject::connect(&port, &QSerialPort::readyRead, &port, [this] { onReadyRead(); });
    QObject::connect(&port, &QSerialPort::errorOccurred, &port,
                     [this](QSerialPort::SerialPortError error) {
                         if (error == QSerialPort::ReadError || error == QSerialPort::WriteError ||
                             error == QSerialPort::ResourceError) {
                             qCDebug(lcLink) << "serial port failed:" << port.errorString();
                             portFailed();
                         }
                     });
}

SerialTransport::~SerialTransport() {
    receiving = false;
    if (port.isOpen()) port.close();
}

void SerialTransport::choosePort(const SerialPortEntry& entry) {
    currentPortNumber = entry.number;
    currentPortLocation = entry.location;
}

bool SerialTransport::OpenSerialPort() {
    if (port.isOpen()) port.close();
    if (currentPortLocation.isEmpty()) return false;
    port.setPortName(currentPortLocation);
    if (!port.open(QIODevice::ReadWrite)) {
        qCDebug(lcLink) << "cannot open" << currentPortLocation << port.errorString();
        return false;
    }
    const bool settled = port.setBaudRate(BaudRate) && port.setDataBits(QSerialPort::Data8) &&
                         port.setParity(QSerialPort::NoParity) &&
                         port.setStopBits(QSerialPort::OneStop);
    linkOpen = settled ? 1 : 0;
    if (!settled) {
        port.close();
        return false;
    }
    // Replies still arriving for the program that had the port before are not ours.
    port.clear(QSerialPort::Input);
    waitInInputQueue();
    return true;
}

void SerialTransport::StartSerialWaitThread() {
    if (!port.isOpen()) return;
    receiving = true;
    if (port.bytesAvailable() > 0) batchTimer->start();
}

void SerialTransport::onReadyRead() {
    // The batch in progress takes what it can; what is left starts the next pause after it.
    if (!receiving || inBatch) return;
    batchTimer->start();
}

void SerialTransport::waitInInputQueue() {
    // One byte fills the buffer, which stops the port's notifications: the bytes after it stay in
    // the system's input queue until the batch takes them. Otherwise every piece of a reply that
    // arrives during the pause would wake the window for nothing.
    port.setReadBufferSize(WakeBytes);
}

void SerialTransport::takeFromInputQueue() {
    // Without blocking; the readyRead this raises belongs to the batch in hand. "Nothing came"
    // is reported as a time-out, which is no fault of the port.
    inBatch = true;
    if (!port.waitForReadyRead(0) && port.isOpen()) port.clearError();
    inBatch = false;
}

void SerialTransport::readBatch() {
    if (!receiving || !port.isOpen() || port.bytesAvailable() == 0) return;
    // Take what waits in the input queue, up to a batch.
    port.setReadBufferSize(MaxBatch);
    takeFromInputQueue();
    if (!port.isOpen()) return;
    std::array<char, MaxBatch> buffer{};
    const qint64 n = port.read(buffer.data(), MaxBatch);
    if (n < 0) {
        portFailed();
        return;
    }
    waitInInputQueue();
    sink.receiveText() +=
        toHex(reinterpret_cast<const uint8_t*>(buffer.data()), static_cast<std::size_t>(n));
    inBatch = true;
    sink.ProcessReceived();
    inBatch = false;
    // More than one batch may be waiting; it must not sit there until the next byte comes.
    if (receiving && port.isOpen() && port.bytesAvailable() == 0) takeFromInputQueue();
    if (receiving && port.isOpen() && port.bytesAvailable() > 0) batchTimer->start();
}

bool SerialTransport::isBatchPending() const {
    return batchTimer->isActive();
}

void SerialTransport::WriteSerial() {
    if (!linkOpen || serialSendText.empty() || !port.isOpen()) return;
    const auto size = static_cast<qint64>(serialSendText.size());
    const qint64 n = port.write(reinterpret_cast<const char*>(serialSendText.data()), size);
    if (n != size) {
        portFailed();
        return;
    }
    port.flush();
}

void SerialTransport::CloseSerialPort() {
    if (!linkOpen) return;
    receiving = false;
    batchTimer->stop();
    if (port.isOpen()) {
        // What is still to go out goes out whole (a cut frame would be the unit's next
        // frame's start); what came in is nobody's now.
        if (port.bytesToWrite() > 0) port.waitForBytesWritten(CloseDrainMs);
        port.clear(QSerialPort::Input);
        port.close();
    }
    linkOpen = 0;
}

void SerialTransport::portFailed() {
    receiving = false;
    batchTimer->stop();
    if (port.isOpen()) {
        port.clearError();
        port.close();
    }
}

} // namespace m7410
