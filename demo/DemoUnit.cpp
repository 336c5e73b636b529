// Before any Qt header: the simulated unit has a member named like Qt's "slots" keyword.
#include "sim/SimHidFace.h"
#include "sim/SimUnit.h"

#include "demo/DemoUnit.h"

#include "link/VirtualHidBackend.h"

namespace m7410 {

namespace {

std::u16string utf16(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace

DemoUnit::DemoUnit(Clock& clock, bool threadedReads)
    : virtualBackend(std::make_unique<VirtualHidBackend>()),
      simUnit(std::make_unique<sim::SimUnit>()),
      hidFace(std::make_unique<sim::SimHidFace>(*simUnit, clock)) {
    virtualBackend->setThreadedReads(threadedReads);
    VirtualHidDeviceInfo info;
    info.vendorId = sim::SimHidFace::VendorId;
    info.productId = sim::SimHidFace::ProductId;
    info.product = utf16(sim::SimHidFace::ProductString);
    info.serial = utf16(sim::SimHidFace::SerialString);
    info.lengths = {sim::SimHidFace::InputReportLength, sim::SimHidFace::OutputReportLength};
    key = virtualBackend->plug(info, [this](const uint8_t* report, std::size_t size) {
        hidFace->writeOutputReport(report, size);
    });
    hidFace->onInputReport = [this](const sim::SimHidFace::InputReport& report) {
        virtualBackend->sendInput(key, report.data(), report.size());
    };
    hidFace->onUnplug = [this] { virtualBackend->unplug(key); };
}

DemoUnit::~DemoUnit() = default;

HidBackend& DemoUnit::backend() {
    return *virtualBackend;
}

} // namespace m7410
