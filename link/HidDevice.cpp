#include "link/HidDevice.h"

#include "link/HidDeviceReadThread.h"

#include <algorithm>
#include <array>
#include <cerrno>

namespace m7410 {

namespace {

constexpr int MinWaitSlice = 10;
constexpr int MaxWaitSlice = 10000;

// Texts come in a 254-word buffer and end at the first zero word.
QString boundedText(const std::u16string& words) {
    std::u16string text = words.substr(0, HidDevice::MaxTextLength);
    if (const auto zero = text.find(u'\0'); zero != std::u16string::npos) text.resize(zero);
    return QString::fromStdU16String(text);
}

} // namespace

HidDevice::HidDevice(HidBackend& backend, HidPnPInfo pnp) : backend(backend), pnp(std::move(pnp)) {}

HidDevice::~HidDevice() {
    stopReading();
    closeHandles();
}

std::unique_ptr<HidDevice> HidDevice::create(HidBackend& backend, const HidPnPInfo& pnp,
                                             QString* why) {
    std::unique_ptr<HidDevice> device(new HidDevice(backend, pnp));
    int code = 0;
    auto connection = backend.open(pnp.path, HidAccess::ReadWrite, code);
    device->readWriteAccess = connection != nullptr;
    device->accessError = connection ? 0 : (code != 0 ? code : EIO);
    if (!connection) connection = backend.open(pnp.path, HidAccess::None, code);
    if (!connection) {
        if (why) *why = QStringLiteral("device cannot be opened");
        return nullptr;
    }
    const auto attributes = connection->attributes();
    if (!attributes) {
        if (why) *why = QStringLiteral("device cannot be identified");
        return nullptr;
    }
    device->identity = *attributes;
    return device;
}

bool HidDevice::isReading() const {
    return readThread != nullptr || pushedInput != nullptr;
}

HidConnection* HidDevice::handle() {
    if (!accessible()) {
        error = pluggedIn ? EACCES : ENODEV;
        return nullptr;
    }
    if (!readWrite) {
        int code = 0;
        readWrite = backend.open(pnp.path, HidAccess::ReadWrite, code);
        if (!readWrite) readWrite = backend.open(pnp.path, HidAccess::None, code);
        if (!readWrite) error = code != 0 ? code : EIO;
    }
    return readWrite.get();
}

void HidDevice::closeHandles() {
    readWrite.reset();
    pushedInput.reset();
}

QString HidDevice::ProductText() {
    if (!productText.isEmpty()) return productText;
    if (HidConnection* connection = handle()) {
        if (const auto text = connection->productString()) productText = boundedText(*text);
    }
    return productText;
}

QString HidDevice::SerialText() {
    if (!serialText.isEmpty()) return serialText;
    HidConnection* connection = handle();
    if (!connection) return serialText;
    const auto serial = connection->serialString();
    if (!serial) return serialText;
    if (serialAccepted(*serial, connection->indexedString(0))) serialText = boundedText(*serial);
    return serialText;
}

bool HidDevice::serialAccepted(const std::u16string& serial,
                               const std::optional<std::u16string>& descriptor0) {
    if (!descriptor0) return true;
    constexpr std::size_t words = MaxTextLength;
    // The serial lands in a zeroed buffer, the language list in one filled with FFFF, and
    // only the words the language list wrote are compared.
    std::array<char16_t, words> serialBuffer{};
    std::copy_n(serial.begin(), std::min(serial.size(), words), serialBuffer.begin());
    std::array<char16_t, words> languages;
    languages.fill(0xFFFF);
    const std::size_t written = std::min(descriptor0->size(), words);
    std::copy_n(descriptor0->begin(), written, languages.begin());
    if (written < words) languages[written] = 0;
    std::size_t length = 0;
    for (std::size_t k = words; k-- > 0;) {
        if (languages[k] != 0xFFFF) {
            length = languages[k] == 0 ? k : k + 1;
            break;
        }
    }
    return !std::equal(serialBuffer.begin(), serialBuffer.begin() + length, languages.begin());
}

HidReportLengths HidDevice::ReportCaps() {
    HidConnection* connection = handle();
    return connection ? connection->reportLengths() : HidReportLengths{};
}

bool HidDevice::WriteReport(const uint8_t* buffer, std::size_t count, int& written) {
    written = 0;
    HidConnection* connection = handle();
    if (!connection) return false;
    const int n = connection->write(buffer, count);
    if (n < 0) {
        error = connection->lastError() != 0 ? connection->lastError() : EIO;
        return false;
    }
    written = n;
    return true;
}

void HidDevice::SetDataHandler(DataHandler handler) {
    applyDataHandler(std::move(handler));
    dataFromController = false;
}

void HidDevice::applyDataHandler(DataHandler handler) {
    if (!handler) stopReading();
    onData = std::move(handler);
    startReadingIfReady();
}

void HidDevice::setDataErrorHandler(DataErrorHandler handler) {
    onDataError = std::move(handler);
    dataErrorFromController = false;
}

void HidDevice::setUnplugHandler(UnplugHandler handler) {
    onUnplug = std::move(handler);
    unplugFromController = false;
}

bool HidDevice::setWaitSlice(int ms) {
    if (ms < MinWaitSlice || ms > MaxWaitSlice) return false;
    slice = ms;
    if (readThread) readThread->setWaitSlice(ms);
    return true;
}

void HidDevice::startReadingIfReady() {
    if (!onData || !pluggedIn || !checkedOut || !readWriteAccess || isReading()) return;
    if (backend.pushesInput()) {
        int code = 0;
        pushedInput = backend.open(pnp.path, HidAccess::ReadOnly, code);
        if (!pushedInput) {
            deliverError(code != 0 ? code : EIO);
            return;
        }
        pushedInput->setInputHandler([this](const uint8_t* report, std::size_t size) {
            deliverReport(report, static_cast<int>(size));
        });
        return;
    }
    const int inputLength = std::max(ReportCaps().input, 1);
    readThread =
        std::make_unique<HidDeviceReadThread>(*this, backend, pnp.path, inputLength, slice);
    readThread->start();
}

void HidDevice::stopReading() {
    pushedInput.reset();
    if (!readThread) return;
    // Called from inside one of its own hand-overs the thread cannot be waited for: it ends
    // and deletes itself once that hand-over returns.
    if (!readThread->stop()) (void)readThread.release();
    readThread.reset();
}

void HidDevice::markUnplugged() {
    closeHandles();
    // The thread owns its read handle; it drops it and keeps reporting the failure until the
    // device is released.
    if (readThread) readThread->deviceUnplugged();
    pluggedIn = false;
    if (UnplugHandler handler = std::exchange(onUnplug, nullptr)) handler(this);
}

void HidDevice::deliverReport(const uint8_t* report, int count) {
    if (count <= 0 || !onData) return;
    const auto size = static_cast<uint16_t>(std::min(count - 1, 0xFFFF));
    // A copy: the handler may replace or clear the device's handler while it runs.
    DataHandler handler = onData;
    handler(this, report[0], report + 1, size);
}

void HidDevice::deliverError(int code) {
    if (!onDataError) return;
    DataErrorHandler handler = onDataError;
    handler(this, code);
}

} // namespace m7410
