#include "link/HidDeviceController.h"

#include "link/LinkLogging.h"
#include "support/Clock.h"

#include <algorithm>

namespace m7410 {

namespace {

bool hasKey(const std::vector<std::unique_ptr<HidDevice>>& devices, const std::string& key) {
    return std::any_of(devices.begin(), devices.end(),
                       [&](const auto& d) { return d->pnpInfo().instanceKey == key; });
}

} // namespace

HidDeviceController::HidDeviceController(HidBackend& backend, Clock& clock) : backend(backend) {
    notification = clock.createTimer(
        0, [this] { DeviceChange(); }, true);
    backend.onChange = [this] { postDeviceChange(); };
    postDeviceChange();
}

HidDeviceController::~HidDeviceController() {
    backend.onChange = nullptr;
    OnArrival = nullptr;
    OnRemoval = nullptr;
    OnDeviceChange = nullptr;
    OnEnumerate = nullptr;
    // No handler of the owner may run while the devices go.
    for (auto& device : devices) {
        device->onData = nullptr;
        device->onDataError = nullptr;
        device->onUnplug = nullptr;
    }
    devices.clear();
}

void HidDeviceController::postDeviceChange() {
    notification->start();
}

void HidDeviceController::DeviceChange() {
    if (busy) {
        rescanWanted = true;
        return;
    }
    if (!backend.available()) return;
    busy = true;
    ++scans;
    const bool initial = std::exchange(initialScan, false);
    auto present = scanPresent();
    bool changed = removeGone(present);
    changed = addArrived(std::move(present)) || changed;
    if ((changed || initial) && OnDeviceChange) OnDeviceChange(this);
    busy = false;
    if (std::exchange(rescanWanted, false)) postDeviceChange();
}

std::vector<std::unique_ptr<HidDevice>> HidDeviceController::scanPresent() {
    std::vector<std::unique_ptr<HidDevice>> present;
    for (const HidPnPInfo& info : backend.enumerate()) {
        QString why;
        if (auto device = HidDevice::create(backend, info, &why)) {
            present.push_back(std::move(device));
        } else {
            qCDebug(lcLink) << "skipping" << info.path.c_str() << why;
        }
    }
    return present;
}

bool HidDeviceController::removeGone(const std::vector<std::unique_ptr<HidDevice>>& present) {
    bool changed = false;
    // Handlers may release devices while this runs, so look for the last gone device afresh
    // each time instead of walking a list that may change under us.
    for (;;) {
        HidDevice* gone = nullptr;
        for (auto it = devices.rbegin(); it != devices.rend(); ++it) {
            if ((*it)->pluggedIn && !hasKey(present, (*it)->pnpInfo().instanceKey)) {
                gone = it->get();
                break;
            }
        }
        if (!gone) return changed;
        changed = true;
        gone->markUnplugged();
        if (isListed(gone) && OnRemoval) OnRemoval(gone);
        if (isListed(gone) && !gone->checkedOut) eraseDevice(gone);
    }
}

bool HidDeviceController::addArrived(std::vector<std::unique_ptr<HidDevice>> present) {
    bool changed = false;
    for (auto& fresh : present) {
        const bool known = std::any_of(devices.begin(), devices.end(), [&](const auto& d) {
            return d->pluggedIn && d->pnpInfo().instanceKey == fresh->pnpInfo().instanceKey;
        });
        if (known) continue;
        HidDevice* device = fresh.get();
        adopt(*device);
        devices.push_back(std::move(fresh));
        changed = true;
        if (OnArrival) OnArrival(device);
    }
    return changed;
}

void HidDeviceController::adopt(HidDevice& device) {
    device.onData = onDeviceData;
    device.onDataError = onDeviceDataError;
    device.onUnplug = onDeviceUnplug;
}

int HidDeviceController::EnumerateDevices() {
    if (!OnEnumerate) return 0;
    std::vector<HidDevice*> offered;
    for (const auto& device : devices) {
        if (device->pluggedIn) offered.push_back(device.get());
    }
    int count = 0;
    for (HidDevice* device : offered) {
        const int index = indexOf(device);
        if (index < 0 || !device->pluggedIn) continue;
        device->enumerating = true;
        ++count;
        const bool goOn = OnEnumerate(device, index);
        if (isListed(device)) {
            device->enumerating = false;
            if (!device->checkedOut) device->closeHandles();
        }
        if (!goOn) break;
    }
    return count;
}

HidDevice* HidDeviceController::CheckOutDevice(int index) {
    if (index < 0 || index >= count()) return nullptr;
    HidDevice* device = devices[static_cast<std::size_t>(index)].get();
    if (device->checkedOut) return nullptr;
    device->checkedOut = true;
    device->startReadingIfReady();
    return device;
}

void HidDeviceController::ReleaseDevice(HidDevice* device) {
    const int position = indexOf(device);
    if (position < 0 || !device->checkedOut) return;
    const bool stillPlugged = device->pluggedIn;
    const HidPnPInfo pnp = device->pnpInfo();
    HidDevice::DataHandler data = device->onData;
    HidDevice::UnplugHandler unplug = device->onUnplug;
    const bool dataFromController = device->dataFromController;
    const bool unplugFromController = device->unplugFromController;
    const int slice = device->slice;
    // Destroying it stops its read thread, so no report of the old object arrives after this.
    eraseDevice(device);
    if (!stillPlugged) return;
    auto fresh = HidDevice::create(backend, pnp, nullptr);
    if (!fresh) return;
    adopt(*fresh);
    fresh->onData = std::move(data);
    fresh->onUnplug = std::move(unplug);
    fresh->dataFromController = dataFromController;
    fresh->unplugFromController = unplugFromController;
    fresh->slice = slice;
    const auto insertAt = std::min(position, count());
    devices.insert(devices.begin() + insertAt, std::move(fresh));
}

HidDevice* HidDeviceController::device(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    return devices[static_cast<std::size_t>(index)].get();
}

int HidDeviceController::indexOf(const HidDevice* device) const {
    const auto at = std::find_if(devices.begin(), devices.end(),
                                 [&](const auto& d) { return d.get() == device; });
    return at == devices.end() ? -1 : static_cast<int>(at - devices.begin());
}

bool HidDeviceController::isListed(const HidDevice* device) const {
    return indexOf(device) >= 0;
}

void HidDeviceController::eraseDevice(const HidDevice* device) {
    const int index = indexOf(device);
    if (index < 0) return;
    const auto at = devices.begin() + index;
    // Out of the list before it is destroyed, so handlers run by its destruction see a
    // consistent list.
    std::unique_ptr<HidDevice> doomed = std::move(*at);
    devices.erase(at);
}

void HidDeviceController::setOnDeviceData(HidDevice::DataHandler handler) {
    onDeviceData = std::move(handler);
    // Stopping a read thread may run a handler that changes the list.
    std::vector<HidDevice*> listed;
    for (const auto& device : devices)
        listed.push_back(device.get());
    for (HidDevice* device : listed) {
        if (isListed(device) && device->dataFromController) {
            device->applyDataHandler(onDeviceData);
        }
    }
}

void HidDeviceController::setOnDeviceDataError(HidDevice::DataErrorHandler handler) {
    onDeviceDataError = std::move(handler);
    for (auto& device : devices) {
        if (device->dataErrorFromController) device->onDataError = onDeviceDataError;
    }
}

void HidDeviceController::setOnDeviceUnplug(HidDevice::UnplugHandler handler) {
    onDeviceUnplug = std::move(handler);
    for (auto& device : devices) {
        if (device->unplugFromController) device->onUnplug = onDeviceUnplug;
    }
}

void HidDeviceController::setDevThreadSleepTime(int ms) {
    const int old = std::exchange(sleepTime, ms);
    for (auto& device : devices) {
        if (device->slice == old) device->setWaitSlice(ms);
    }
}

} // namespace m7410
