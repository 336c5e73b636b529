#include "sim/SimHidFace.h"

#include <algorithm>

namespace m7410::sim {

namespace {

constexpr std::size_t ReportBytes = 64;

} // namespace

SimHidFace::SimHidFace(SimUnit& unit, Clock& clock)
    : unit(unit), clock(clock),
      outbox(clock, [this](std::vector<InputReport>&& r) { deliver(std::move(r)); }) {}

void SimHidFace::unplug() {
    if (!plugged) return;
    plugged = false;
    outbox.clear();
    assembly.clear();
    missing = 0;
    inputsBeforeUnplug = outputsBeforeUnplug = -1;
    if (onUnplug) onUnplug();
}

void SimHidFace::replug() {
    plugged = true;
}

void SimHidFace::unplugAfterInputReports(int count) {
    if (count == 0)
        unplug();
    else
        inputsBeforeUnplug = count;
}

void SimHidFace::unplugAfterOutputReports(int count) {
    if (count == 0)
        unplug();
    else
        outputsBeforeUnplug = count;
}

void SimHidFace::writeOutputReport(const uint8_t* report, std::size_t size) {
    if (!plugged) return;
    if (size != std::size_t(OutputReportLength) || report[0] != 0) {
        unit.noteMalformed("output report of the wrong size or id", report, size);
    } else {
        takeReport(report + 1);
    }
    if (outputsBeforeUnplug > 0 && --outputsBeforeUnplug == 0) unplug();
}

void SimHidFace::takeReport(const uint8_t* b) {
    if (missing > 0) {
        const std::size_t take = std::min(missing, ReportBytes);
        assembly.insert(assembly.end(), b, b + take);
        missing -= take;
        if (missing == 0) submit(assembly);
        return;
    }
    if (b[0] != StartMarker || b[1] != StartMarker || b[2] != StartMarker) {
        unit.noteMalformed("report without a start marker", b, ReportBytes);
        return;
    }
    const auto n = static_cast<std::size_t>(word(b[9], b[8]));
    if (n + FrameOverhead <= ReportBytes) {
        // What follows the frame in the report is left over from earlier writes.
        submit(Bytes(b, b + n + FrameOverhead));
    } else if (n > 1024) {
        unit.noteMalformed("impossible length", b, ReportBytes);
    } else {
        // A block write: the header report, then the data, checksum and end marker.
        assembly.assign(b, b + FrameHeaderSize);
        missing = n + 2;
    }
}

void SimHidFace::submit(const Bytes& frame) {
    const std::vector<Bytes> replies = unit.receiveFrame(frame);
    for (const Bytes& r : replies) {
        int64_t due =
            std::max(clock.nowMs() + unit.faults().latencyMs, outbox.lastDueMs() + reportSpacingMs);
        if (garbageReports) {
            InputReport junk{};
            junk.fill(0x3C);
            outbox.push(due, junk);
            due += reportSpacingMs;
        }
        const std::vector<InputReport> reports = toInputReports(r);
        for (std::size_t k = 0; k < reports.size(); ++k) {
            // A two-report reply has one pause: its second report is also its last.
            if (k == 1 || (k > 1 && k + 1 == reports.size())) due += replyPausesMs;
            outbox.push(due, reports[k]);
            due += reportSpacingMs;
        }
    }
}

std::vector<SimHidFace::InputReport> SimHidFace::toInputReports(const Bytes& frame) {
    std::vector<InputReport> out;
    if (frame.size() < FrameOverhead) return out;
    InputReport header{};
    std::copy_n(frame.begin(), FrameHeaderSize, header.begin());
    out.push_back(header);
    // Data, checksum and end marker in 64-byte pieces; the last piece is never empty, so a frame
    // without data still takes a second report.
    const std::size_t n = frame.size() - FrameOverhead;
    const std::size_t pieces = n / ReportBytes + 1;
    for (std::size_t k = 0; k < pieces; ++k) {
        InputReport report{};
        const std::size_t from = FrameHeaderSize + k * ReportBytes;
        const std::size_t count =
            std::min(ReportBytes, frame.size() - std::min(from, frame.size()));
        std::copy_n(frame.begin() + std::ptrdiff_t(from), count, report.begin());
        out.push_back(report);
    }
    return out;
}

void SimHidFace::deliver(std::vector<InputReport>&& reports) {
    for (const InputReport& r : reports) {
        if (!plugged) return;
        if (onInputReport) onInputReport(r);
        if (inputsBeforeUnplug > 0 && --inputsBeforeUnplug == 0) unplug();
    }
}

} // namespace m7410::sim
