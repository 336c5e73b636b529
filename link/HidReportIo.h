// Frames to and from the unit's HID device: output reports, block images, input reassembly.
#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace m7410 {

class Clock;
class HidDevice;
class HidUnitPicker;
class InboundSink;
class Timer;
class TrafficLog;

// Frames to and from the processor's HID device: the output report buffer written as one
// report or a 322-byte block image as six, the reassembly of input reports into whole messages
// for the dispatcher, and the traffic log lines of writes and errors.
class HidReportIo {
public:
    static constexpr std::size_t OutputReportSize = 65;
    static constexpr std::size_t BlockImageSize = 322;
    static constexpr int ReportDataSize = 64;
    // A message whose reports stop coming is dropped after this long.
    static constexpr int AssemblyTimeoutMs = 500;

    HidReportIo(HidUnitPicker& picker, TrafficLog& log, InboundSink& sink, Clock& clock);
    ~HidReportIo();

    // Byte 0 is the report id (0); senders put a frame at bytes 1... Bytes after a frame keep
    // what an earlier, longer frame left there.
    std::array<uint8_t, OutputReportSize> outputReport{};

    void UsbHidSendDataClick();
    // Six reports: five of 64 image bytes, then checksum and end marker; stops at the first
    // failed report.
    void UsbHidSendBigData(const uint8_t* image);

    // The processor's data handler.
    void ShowRead(HidDevice* dev, uint8_t reportId, const uint8_t* data, uint16_t size);
    // The controller's data-error handler.
    void hidctlDeviceDataError(HidDevice* dev, int error);

    // Back to waiting for a header report; the dispatcher does this whenever it runs.
    void resetAssembly();
    bool hidReceiving() const { return receiving; }
    // A line of its own in the traffic log.
    void note(const QString& line);

    // "READ ERROR: No such device (13)" and the like.
    static QString errorLine(const char* what, int code);

private:
    bool writeReport();

    HidUnitPicker& picker;
    TrafficLog& log;
    InboundSink& sink;
    std::unique_ptr<Timer> assemblyTimer;

    bool receiving = false;
    std::string assemblyText;
    int32_t messageLength = 0;
    int32_t reportCount = 0;
};

} // namespace m7410
