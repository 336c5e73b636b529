#include "link/SerialPortRegister.h"

#include "support/Clock.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace m7410 {

SerialPortRegister::SerialPortRegister(Clock& clock, const int32_t& linkOpen, Source source)
    : linkOpen(linkOpen), source(std::move(source)) {
    refurbish = clock.createTimer(RefurbishIntervalMs, [this] { refurbishTimer(); });
    readRegister();
    refurbish->start();
}

SerialPortRegister::~SerialPortRegister() = default;

std::optional<std::vector<SerialPortEntry>> SerialPortRegister::systemPorts() {
    std::vector<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.push_back({info.portName(), info.systemLocation(), 0});
    }
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
