// The protocol's LinkPort on the real link: HID reports when the unit is on USB, else the serial
// port.
#pragma once

#include "protocol/LinkPort.h"

namespace m7410 {

class HidReportIo;
class HidUnitPicker;
class SerialTransport;

// The protocol's way out: HID reports when the processor is active on USB, else the serial
// port.
class DeviceLink : public LinkPort {
public:
    DeviceLink(HidUnitPicker& picker, HidReportIo& reports, SerialTransport& serial);

    bool isHidActive() const override;
    void sendHidFrame(const uint8_t* frame, std::size_t size) override;
    void sendHidBlock(const uint8_t* image, std::size_t size) override;
    void writeSerial(const uint8_t* bytes, std::size_t size) override;
    void resetHidAssembly() override;
    void note(const std::string& line) override;

private:
    HidUnitPicker& picker;
    HidReportIo& reports;
    SerialTransport& serial;
};

} // namespace m7410
