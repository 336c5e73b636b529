// How the protocol reaches the unit without knowing the link; link/ implements it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace m7410 {

// How the protocol reaches the unit without knowing the link: link/ implements it.
class LinkPort {
public:
    virtual ~LinkPort() = default;
    // The unit is present on USB and its device is active, so frames go out as HID reports.
    virtual bool isHidActive() const = 0;
    // One frame of at most 64 bytes as one output report.
    virtual void sendHidFrame(const uint8_t* frame, std::size_t size) = 0;
    // A 322-byte block image as six output reports.
    virtual void sendHidBlock(const uint8_t* image, std::size_t size) = 0;
    // Any bytes over the serial port (a whole frame, a block header, a block image).
    virtual void writeSerial(const uint8_t* bytes, std::size_t size) = 0;
    // Forget a half-collected HID message: the dispatcher does this on every call, so the
    // next report is taken as a header again.
    virtual void resetHidAssembly() {}
    // A line for the traffic log about what was sent (not a frame).
    virtual void note(const std::string& line) { (void)line; }
};

} // namespace m7410
