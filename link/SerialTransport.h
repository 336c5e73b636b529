#pragma once

#include "link/SerialPortRegister.h"

#include <QSerialPort>

#include <cstdint>
#include <memory>
#include <vector>

namespace m7410 {

class Clock;
class InboundSink;
class Timer;

// The serial path to the processor: 9600 8N1. Received bytes are taken in batches: the first
// byte starts a 50 ms pause so more of the message can arrive, then up to 1024 bytes go to the
// receive text as hexadecimal and the dispatcher runs. A read or write failure closes the port
// but leaves linkOpen set, so the connection's time-outs end the link.
class SerialTransport {
public:
    static constexpr int BatchDelayMs = 50;
    static constexpr int MaxBatch = 1024;
    static constexpr int32_t BaudRate = 9600;
    // Bytes the port buffers between batches; the rest waits in the system's input queue.
    static constexpr qint64 WakeBytes = 1;
    // The longest a close waits for the last frame to leave: a preset block at 9600 baud.
    static constexpr int CloseDrainMs = 1000;

    SerialTransport(Clock& clock, InboundSink& sink, int32_t& linkOpen);
    ~SerialTransport();
    SerialTransport(const SerialTransport&) = delete;
    SerialTransport& operator=(const SerialTransport&) = delete;

    // The port to open: its number (100, 0 and -1 also mark a HID link, a failed opening and a
    // closed link) and its system location.
    int32_t currentPortNumber = 0;
    QString currentPortLocation;
    void choosePort(const SerialPortEntry& entry);

    // What the next WriteSerial() sends.
    std::vector<uint8_t> serialSendText;

    // Sets linkOpen exactly when the port opened and took the line settings.
    bool OpenSerialPort();
    // Starts taking received bytes, when the port is open.
    void StartSerialWaitThread();
    // Does nothing while linkOpen is clear.
    void CloseSerialPort();
    // Does nothing while linkOpen is clear or there is nothing to send.
    void WriteSerial();

    bool isPortOpen() const { return port.isOpen(); }
    // The pause before the next batch is running.
    bool isBatchPending() const;

private:
    void onReadyRead();
    void readBatch();
    void waitInInputQueue();
    void takeFromInputQueue();
    void portFailed();

    InboundSink& sink;
    int32_t& linkOpen;
    QSerialPort port;
    std::unique_ptr<Timer> batchTimer;
    bool receiving = false;
    bool inBatch = false;
};

} // namespace m7410
