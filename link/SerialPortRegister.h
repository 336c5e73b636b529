// The serial port list: the system's ports and the --port ones, the last entry selected.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace m7410 {

class Clock;
class Timer;

struct SerialPortEntry {
    QString name;     // what the list shows
    QString location; // what opening uses
    int32_t number = 0;
    bool operator==(const SerialPortEntry&) const = default;
};

// The serial port list: the system's ports sorted by name without regard to case, then the
// ports given on the command line in their order, the last entry selected. Refreshed every
// 3000 ms while the link is closed.
class SerialPortRegister {
public:
    // The system's ports in any order; nothing when they cannot be read.
    using Source = std::function<std::optional<std::vector<SerialPortEntry>>()>;
    static constexpr int RefurbishIntervalMs = 3000;

    SerialPortRegister(Clock& clock, const int32_t& linkOpen, Source source = systemPorts);
    ~SerialPortRegister();

    static std::optional<std::vector<SerialPortEntry>> systemPorts();
    // The decimal number after the first three characters ("COM7" gives 7), else 0.
    static int32_t portNumberOf(const QString& name);

    // Paths appended after the system's ports (a pseudo-terminal, say); read again at once.
    void setExtraPorts(const QStringList& paths);
    // Fills the list from the system (left as it is when the system cannot tell), selects
    // the last entry.
    void readRegister();
    void refurbishTimer();

    const std::vector<SerialPortEntry>& ports() const { return entries; }
    QStringList names() const;
    int selectedIndex() const { return selected; }
    void select(int index);
    // Nothing when the list is empty.
    const SerialPortEntry* selectedEntry() const;

private:
    std::optional<std::vector<SerialPortEntry>> readList() const;

    const int32_t& linkOpen;
    Source source;
    QStringList extraPaths;
    std::vector<SerialPortEntry> entries;
    int selected = -1;
    std::unique_ptr<Timer> refurbish;
};

} // namespace m7410
