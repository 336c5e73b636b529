#include "link/VirtualHidBackend.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace m7410 {

namespace {

struct DeviceState {
    std::string key;
    std::string path;
    VirtualHidDeviceInfo info;
    VirtualHidBackend::OutputHandler onOutput;
    bool plugged = true;
    int writeFailures = 0;
    int writeError = 0;
    int readFailures = 0;
    int readError = 0;
};

// The input side of one read-only connection.
struct ReadEnd {
    std::shared_ptr<DeviceState> device;
    std::deque<std::vector<uint8_t>> reports;
    bool inFlight = false; // a report was taken and is being handed over
    std::function<void(const uint8_t*, std::size_t)> handler;
    uint64_t id = 0;
};

} // namespace

struct VirtualHidBackend::Registry {
    mutable std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::shared_ptr<DeviceState>> devices;
    std::vector<std::shared_ptr<ReadEnd>> readers;
    uint64_t lastReaderId = 0;

    std::shared_ptr<DeviceState> find(const std::string& keyOrPath) const {
        for (const auto& d : devices) {
            if (d->key == keyOrPath || d->path == keyOrPath) return d;
        }
        return nullptr;
    }
};

namespace {

class VirtualHidConnection : public HidConnection {
public:
    VirtualHidConnection(std::shared_ptr<VirtualHidBackend::Registry> registry,
                         std::shared_ptr<DeviceState> device, HidAccess access)
        : registry(std::move(registry)), device(std::move(device)), access(access) {
        if (access != HidAccess::ReadOnly) return;
        std::lock_guard lock(this->registry->mutex);
        reader = std::make_shared<ReadEnd>();
        reader->device = this->device;
        reader->id = ++this->registry->lastReaderId;
        this->registry->readers.push_back(reader);
    }

    ~VirtualHidConnection() override {
        if (!reader) return;
        std::lock_guard lock(registry->mutex);
        auto& readers = registry->readers;
        readers.erase(std::remove(readers.begin(), readers.end(), reader), readers.end());
    }

    std::optional<HidAttributes> attributes() override {
        if (!device->info.identifiable) return std::nullopt;
        return HidAttributes{device->info.vendorId, device->info.productId, device->info.version};
    }
    HidReportLengths reportLengths() override { return device->info.lengths; }
    std::optional<std::u16string> productString() override { return device->info.product; }
    std::optional<std::u16string> serialString() override { return device->info.serial; }
    std::optional<std::u16string> indexedString(int index) override {
        if (index == 0) return device->info.languages;
        return std::nullopt;
    }

    int write(const uint8_t* report, std::size_t size) override {
        VirtualHidBackend::OutputHandler output;
        {
            std::lock_guard lock(registry->mutex);
            if (!device->plugged) return fail(ENODEV);
            if (access != HidAccess::ReadWrite) return fail(EBADF);
            if (device->writeFailures > 0) {
                --device->writeFailures;
                return fail(device->writeError);
            }
            output = device->onOutput;
        }
        if (output) output(report, size);
        return static_cast<int>(size);
    }

    int read(uint8_t* report, std::size_t size, int timeoutMs) override {
        if (!reader) return fail(EBADF);
        std::unique_lock lock(registry->mutex);
        reader->inFlight = false;
        // Short waits, so a thread asked to stop notices soon.
        const auto wait = std::chrono::milliseconds(std::clamp(timeoutMs, 0, 10));
        registry->arrived.wait_for(lock, wait, [&] {
            return !reader->reports.empty() || !device->plugged || device->readFailures > 0;
        });
        if (!device->plugged) return fail(ENODEV);
        if (device->readFailures > 0) {
            --device->readFailures;
            return fail(device->readError);
        }
        if (reader->reports.empty()) return 0;
        const std::vector<uint8_t> next = std::move(reader->reports.front());
        reader->reports.pop_front();
        reader->inFlight = true;
        const std::size_t n = std::min(size, next.size());
        std::copy_n(next.begin(), n, report);
        return static_cast<int>(n);
    }

    int lastError() const override { return error; }

    void setInputHandler(std::function<void(const uint8_t*, std::size_t)> handler) override {
        if (!reader) return;
        std::lock_guard lock(registry->mutex);
        reader->handler = std::move(handler);
    }

private:
    int fail(int code) {
        error = code;
        return -1;
    }

    std::shared_ptr<VirtualHidBackend::Registry> registry;
    std::shared_ptr<DeviceState> device;
    HidAccess access;
    std::shared_ptr<ReadEnd> reader;
    int error = 0;
};

} // namespace

VirtualHidBackend::VirtualHidBackend() : registry(std::make_shared<Registry>()) {}

VirtualHidBackend::~VirtualHidBackend() = default;

std::vector<HidPnPInfo> VirtualHidBackend::enumerate() {
    std::lock_guard lock(registry->mutex);
    std::vector<HidPnPInfo> present;
    for (const auto& d : registry->devices)
        present.push_back({d->key, d->path});
    return present;
}

std::unique_ptr<HidConnection> VirtualHidBackend::open(const std::string& path, HidAccess access,
                                                       int& error) {
    std::shared_ptr<DeviceState> device;
    {
        std::lock_guard lock(registry->mutex);
        device = registry->find(path);
        if (!device) {
            error = ENOENT;
            return nullptr;
        }
        if (access != HidAccess::None && !device->info.readWrite) {
            error = EACCES;
            return nullptr;
        }
    }
    return std::make_unique<VirtualHidConnection>(registry, device, access);
}

std::string VirtualHidBackend::plug(const VirtualHidDeviceInfo& info, OutputHandler onOutput) {
    auto device = std::make_shared<DeviceState>();
    ++plugs;
    device->key = "virtual-hid-" + std::to_string(plugs);
    device->path = "/virtual/hidraw" + std::to_string(plugs);
    device->info = info;
    device->onOutput = std::move(onOutput);
    {
        std::lock_guard lock(registry->mutex);
        registry->devices.push_back(device);
    }
    notifyChange();
    return device->key;
}

void VirtualHidBackend::unplug(const std::string& key) {
    {
        std::lock_guard lock(registry->mutex);
        auto device = registry->find(key);
        if (!device) return;
        device->plugged = false;
        auto& devices = registry->devices;
        devices.erase(std::remove(devices.begin(), devices.end(), device), devices.end());
    }
    registry->arrived.notify_all();
    notifyChange();
}

void VirtualHidBackend::sendInput(const std::string& key, const uint8_t* data, std::size_t size) {
    std::vector<uint8_t> report(size + 1, 0);
    std::copy_n(data, size, report.begin() + 1);
    std::vector<std::pair<uint64_t, std::function<void(const uint8_t*, std::size_t)>>> pushTo;
    {
        std::lock_guard lock(registry->mutex);
        for (const auto& reader : registry->readers) {
            if (reader->device->key != key || !reader->device->plugged) continue;
            if (reader->handler) {
                pushTo.emplace_back(reader->id, reader->handler);
            } else {
                reader->reports.push_back(report);
            }
        }
    }
    registry->arrived.notify_all();
    for (auto& [readerId, handler] : pushTo) {
        const uint64_t id = readerId;
        // A handler may close readers (a device released while it runs): skip those.
        bool open = false;
        {
            std::lock_guard lock(registry->mutex);
            open = std::any_of(registry->readers.begin(), registry->readers.end(),
                               [&](const auto& r) { return r->id == id; });
        }
        if (open) handler(report.data(), report.size());
    }
}

void VirtualHidBackend::failWrites(const std::string& key, int error, int count) {
    std::lock_guard lock(registry->mutex);
    if (auto device = registry->find(key)) {
        device->writeFailures = count;
        device->writeError = error;
    }
}

void VirtualHidBackend::failReads(const std::string& key, int error, int count) {
    {
        std::lock_guard lock(registry->mutex);
        if (auto device = registry->find(key)) {
            device->readFailures = count;
            device->readError = error;
        }
    }
    registry->arrived.notify_all();
}

int VirtualHidBackend::openReaders(const std::string& key) const {
    std::lock_guard lock(registry->mutex);
    return static_cast<int>(std::count_if(registry->readers.begin(), registry->readers.end(),
                                          [&](const auto& r) { return r->device->key == key; }));
}

bool VirtualHidBackend::waitForReader(const std::string& key, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (openReaders(key) == 0) {
        if (elapsed.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

bool VirtualHidBackend::settle(int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        {
            std::lock_guard lock(registry->mutex);
            const bool idle =
                std::none_of(registry->readers.begin(), registry->readers.end(),
                             [](const auto& r) { return !r->reports.empty() || r->inFlight; });
            if (idle) return true;
        }
        if (elapsed.elapsed() > timeoutMs) return false;
        QThread::msleep(1);
    }
}

} // namespace m7410
