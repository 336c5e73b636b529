// The simulated unit as a USB HID device.
#pragma once

#include "sim/SimUnit.h"
#include "sim/TimedQueue.h"
#include "support/Clock.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace m7410::sim {

// The unit as a USB HID device. Output reports carry a frame each (the bytes after it are left
// over from earlier reports), or a block write's header followed by its image in 64-byte
// pieces. Replies go out as a header report and 64-byte data reports.
class SimHidFace {
public:
    using InputReport = std::array<uint8_t, 64>;

    static constexpr uint16_t VendorId = 0x0483;
    static constexpr uint16_t ProductId = 0x5750;
    static constexpr std::string_view ProductString = "RIVIDAVIDIZIR02";
    static constexpr std::string_view SerialString = "0000002";
    // Both counts include the report id byte.
    static constexpr int InputReportLength = 65;
    static constexpr int OutputReportLength = 65;

    SimHidFace(SimUnit& unit, Clock& clock);

    // An output report as the host writes it: report id (0) first, then 64 bytes (65 in all).
    void writeOutputReport(const uint8_t* report, std::size_t size);
    // Each 64-byte input report the unit sends, delivered on the clock's thread.
    std::function<void(const InputReport&)> onInputReport;
    // Fault "unplugged in the middle of a transfer": the face calls this and goes silent.
    std::function<void()> onUnplug;

    // How one reply frame travels: a header report, then data reports.
    static std::vector<InputReport> toInputReports(const Bytes& frame);

    // Time between two input reports of one reply (an interrupt endpoint's polling interval).
    void setReportSpacingMs(int ms) { reportSpacingMs = ms; }
    // A unit that stalls mid-reply: every reply pauses this long after its header report and
    // again before its last report (0 = no pauses).
    void setReplyPausesMs(int ms) { replyPausesMs = ms; }
    // A report that is not a message header goes out before every reply.
    void setGarbageReports(bool on) { garbageReports = on; }
    // Unplug right after this many more input reports have been delivered, or output reports
    // taken (0 = now); a negative count cancels.
    void unplugAfterInputReports(int count);
    void unplugAfterOutputReports(int count);
    void unplug();
    // Plugged in again, with nothing in flight.
    void replug();
    bool isPlugged() const { return plugged; }
    // Reports waiting to be sent.
    std::size_t queuedReports() const { return outbox.size(); }

private:
    void takeReport(const uint8_t* bytes);
    void submit(const Bytes& frame);
    void deliver(std::vector<InputReport>&& reports);

    SimUnit& unit;
    Clock& clock;
    TimedQueue<InputReport> outbox;
    // A multi-report frame being collected: its bytes so far and how many are still missing.
    Bytes assembly;
    std::size_t missing = 0;
    int reportSpacingMs = 1;
    int replyPausesMs = 0;
    bool garbageReports = false;
    int inputsBeforeUnplug = -1;
    int outputsBeforeUnplug = -1;
    bool plugged = true;
};

} // namespace m7410::sim
