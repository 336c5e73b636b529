#include "link/HidapiBackend.h"

#include "link/LinkLogging.h"
#include "link/ReportDescriptor.h"

#include <QSocketNotifier>
#include <QString>

#include <hidapi.h>
#include <libudev.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

namespace m7410 {

namespace {

// hidapi keeps its last global error in one unguarded pointer that enumeration and every open
// free and replace, and read threads open handles while the owner's thread scans.
std::mutex hidapiGlobals;

std::optional<std::u16string> wide(const wchar_t* text) {
    if (!text) return std::nullopt;
    return QString::fromWCharArray(text).toStdU16String();
}

std::filesystem::path sysfsNode(const std::string& path) {
    return std::filesystem::path("/sys/class/hidraw") / std::filesystem::path(path).filename();
}

// The node name alone comes back when the device is plugged in again; the HID device's sysfs
// path carries a sequence number that does not.
std::string instanceKey(const std::string& path) {
    std::error_code ec;
    const auto device = std::filesystem::canonical(sysfsNode(path) / "device", ec);
    return ec ? path : path + "|" + device.string();
}

void readDescriptor(const std::string& path, HidapiBackend::Record& record) {
    std::ifstream file(sysfsNode(path) / "device" / "report_descriptor", std::ios::binary);
    if (!file) return;
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    const auto descriptor = ReportDescriptor::parse(bytes.data(), bytes.size());
    if (!descriptor) return;
    if (descriptor->lengths.input > 0) record.lengths.input = descriptor->lengths.input;
    if (descriptor->lengths.output > 0) record.lengths.output = descriptor->lengths.output;
    record.numbered = descriptor->numbered;
}

class HidapiConnection : public HidConnection {
public:
    HidapiConnection(hid_device* device, HidapiBackend::Record record)
        : device(device), record(std::move(record)) {}
    ~HidapiConnection() override {
        if (device) hid_close(device);
    }

    std::optional<HidAttributes> attributes() override { return record.attributes; }
    HidReportLengths reportLengths() override { return record.lengths; }
    std::optional<std::u16string> productString() override { return record.product; }
    std::optional<std::u16string> serialString() override { return record.serial; }
    // hidraw cannot fetch string descriptors by index.
    std::optional<std::u16string> indexedString(int) override { return std::nullopt; }

    int write(const uint8_t* report, std::size_t size) override {
        if (!device) return fail(EBADF);
        errno = 0;
        const int n = hid_write(device, report, size);
        return n < 0 ? fail(errno) : n;
    }

    int read(uint8_t* report, std::size_t size, int timeoutMs) override {
        if (!device) return fail(EBADF);
        if (size == 0) return 0;
        errno = 0;
        if (record.numbered) {
            const int n = hid_read_timeout(device, report, size, timeoutMs);
            return n < 0 ? fail(errno) : n;
        }
        // Unnumbered reports come without the 0 id byte that writers and readers expect.
        report[0] = 0;
        const int n = hid_read_timeout(device, report + 1, size - 1, timeoutMs);
        if (n < 0) return fail(errno);
        return n == 0 ? 0 : n + 1;
    }

    int lastError() const override { return error; }

private:
    int fail(int code) {
        error = code != 0 ? code : EIO;
        return -1;
    }

    hid_device* device;
    HidapiBackend::Record record;
    int error = 0;
};

} // namespace

HidapiBackend::HidapiBackend() {
    {
        std::lock_guard globals(hidapiGlobals);
        initialised = hid_init() == 0;
    }
    if (!initialised) {
        qCWarning(lcLink) << "HID services unavailable; no USB device will be found";
        return;
    }
    startMonitor();
}

HidapiBackend::~HidapiBackend() {
    notifier.reset();
    if (monitor) udev_monitor_unref(monitor);
    if (udevContext) udev_unref(udevContext);
}

void HidapiBackend::startMonitor() {
    udevContext = udev_new();
    if (udevContext) monitor = udev_monitor_new_from_netlink(udevContext, "udev");
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) ||
        udev_monitor_enable_receiving(monitor)) {
        qCWarning(lcLink) << "no udev monitor; USB devices plugged in later are not noticed";
        return;
    }
    const int fd = udev_monitor_get_fd(monitor);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(), [this] {
        drainMonitor();
        notifyChange();
    });
}

void HidapiBackend::drainMonitor() {
    while (udev_device* device = udev_monitor_receive_device(monitor)) {
        qCDebug(lcLink) << "udev" << udev_device_get_action(device)
                        << udev_device_get_devnode(device);
        udev_device_unref(device);
    }
}

std::vector<HidPnPInfo> HidapiBackend::enumerate() {
    std::vector<HidPnPInfo> present;
    if (!initialised) return present;
    std::map<std::string, Record> fresh;
    std::unique_lock globals(hidapiGlobals);
    hid_device_info* list = hid_enumerate(0, 0);
    for (hid_device_info* info = list; info; info = info->next) {
        if (!info->path || fresh.count(info->path)) continue;
        Record record;
        record.attributes = {info->vendor_id, info->product_id, info->release_number};
        record.product = wide(info->product_string);
        record.serial = wide(info->serial_number);
        readDescriptor(info->path, record);
        fresh.emplace(info->path, std::move(record));
        present.push_back({instanceKey(info->path), info->path});
    }
    hid_free_enumeration(list);
    globals.unlock();
    std::lock_guard lock(mutex);
    records = std::move(fresh);
    return present;
}

std::unique_ptr<HidConnection> HidapiBackend::open(const std::string& path, HidAccess access,
                                                   int& error) {
    Record record;
    {
        std::lock_guard lock(mutex);
        const auto it = records.find(path);
        if (it == records.end()) {
            error = ENOENT;
            return nullptr;
        }
        record = it->second;
    }
    if (access == HidAccess::None) return std::make_unique<HidapiConnection>(nullptr, record);
    std::unique_lock globals(hidapiGlobals);
    errno = 0;
    hid_device* device = hid_open_path(path.c_str());
    const int openError = errno;
    globals.unlock();
    if (!device) {
        error = openError != 0 ? openError : EACCES;
        return nullptr;
    }
    return std::make_unique<HidapiConnection>(device, std::move(record));
}

} // namespace m7410
