// Before any Qt header: the simulated unit has a member named like Qt's "slots" keyword.
#include "sim/SimHidFace.h"
#include "sim/SimUnit.h"

#include "app/DemoUnit.h"

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
    VirtualHidDeviceSpec spec;
    spec.vendorId = sim::SimHidFace::VendorId;
    spec.productId = sim::SimHidFace::ProductId;
    spec.product = utf16(sim::SimHidFace::ProductString);
    spec.serial = utf16(sim::SimHidFace::SerialString);
    spec.lengths = {sim::SimHidFace::InputReportLength, sim::SimHidFace::OutputReportLength};
    key = virtualBackend->plug(spec, [this](const uint8_t* report, std::size_t size) {
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
