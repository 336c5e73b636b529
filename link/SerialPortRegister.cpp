#include "link/SerialPortRegister.h"

#include "support/Clock.h"

#include <QSerialPortInfo>

#include <dirent.h>

#include <algorithm>
#include <string>

namespace m7410 {

namespace {

// The names of the kernel's tty devices, sorted; nothing when the folder cannot be read.
// Reading one folder costs little next to asking udev about every tty, and any serial port
// that comes or goes adds or removes a name here.
std::optional<std::vector<std::string>> ttyDeviceNames() {
    DIR* dir = opendir("/sys/class/tty");
    if (dir == nullptr) return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* e = readdir(dir))
        names.emplace_back(e->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

SerialPortRegister::SerialPortRegister(Clock& clock, const int32_t& linkOpen, Source source)
    : linkOpen(linkOpen), source(std::move(source)) {
    refurbish = clock.createTimer(RefurbishIntervalMs, [this] { refurbishTimer(); });
    readRegister();
    refurbish->start();
}

SerialPortRegister::~SerialPortRegister() = default;

std::optional<std::vector<SerialPortEntry>> SerialPortRegister::systemPorts() {
    // The refresh asks every 3 s while disconnected; udev is asked again only when the set
    // of tty devices changed.
    static std::optional<std::vector<std::string>> lastNames;
    static std::vector<SerialPortEntry> lastPorts;
    auto names = ttyDeviceNames();
    if (names && names == lastNames) return lastPorts;
    std::vector<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.push_back({info.portName(), info.systemLocation(), 0});
    }
    lastNames = std::move(names);
    lastPorts = ports;
    return ports;
}

int32_t SerialPortRegister::portNumberOf(const QString& name) {
    const QString rest = name.mid(3);
    if (rest.isEmpty() || rest.size() > 9) return 0;
    for (const QChar c : rest) {
        if (c < '0' || c > '9') return 0;
    }
    return rest.toInt();
}

std::optional<std::vector<SerialPortEntry>> SerialPortRegister::readList() const {
    auto list = source ? source() : std::nullopt;
    if (!list) return std::nullopt;
    std::stable_sort(list->begin(), list->end(), [](const auto& a, const auto& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    for (const QString& path : extraPaths)
        list->push_back({path, path, 0});
    for (SerialPortEntry& entry : *list)
        entry.number = portNumberOf(entry.name);
    return list;
}

void SerialPortRegister::readRegister() {
    auto list = readList();
    if (!list) return;
    entries = std::move(*list);
    selected = static_cast<int>(entries.size()) - 1;
}

void SerialPortRegister::refurbishTimer() {
    if (linkOpen) return;
    const auto list = readList();
    // An unchanged list keeps the user's selection.
    if (!list || *list == entries) return;
    readRegister();
}

void SerialPortRegister::setExtraPorts(const QStringList& paths) {
    extraPaths = paths;
    readRegister();
}

QStringList SerialPortRegister::names() const {
    QStringList list;
    for (const auto& entry : entries)
        list << entry.name;
    return list;
}

void SerialPortRegister::select(int index) {
    if (index >= 0 && index < static_cast<int>(entries.size())) selected = index;
}

const SerialPortEntry* SerialPortRegister::selectedEntry() const {
    if (selected < 0 || selected >= static_cast<int>(entries.size())) return nullptr;
    return &entries[static_cast<std::size_t>(selected)];
}

} // namespace m7410
