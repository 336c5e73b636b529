#include "ctl/OwnerRoute.h"

#include "link/SerialPortRegister.h"
#include "share/RuntimeFolder.h"
#include "share/SocketProbe.h"

#include <QDir>

#include <algorithm>

namespace m7410 {

namespace {

// The port the serial port list selects: the given ones come after the system's.
std::optional<QString> portOpened(const Invocation& inv) {
    if (!inv.ports.empty()) return QString::fromStdString(inv.ports.back());
    std::optional<std::vector<SerialPortEntry>> system = SerialPortRegister::systemPorts();
    if (!system || system->empty()) return std::nullopt;
    const auto last = std::max_element(system->begin(), system->end(), [](const auto& a, const auto& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return last->location;
}

} // namespace

std::vector<QString> servedSockets() {
    std::vector<QString> out;
    QString error;
    const std::optional<QString> folder = runtimeFolder(error, false);
    if (!folder) return out;
    const QDir dir(*folder);
    for (const QString& name : dir.entryList(QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        if (probeSocket(dir.filePath(name)) == SocketState::Served) out.push_back(dir.filePath(name));
    return out;
}

std::optional<QString> ownerSocketFor(const Invocation& inv) {
    QString error;
    const std::optional<QString> folder = runtimeFolder(error, false);
    if (!folder) return std::nullopt;
    const QDir dir(*folder);
    if (!inv.unit.empty()) {
        const QString path = dir.filePath(QString::fromStdString(inv.unit));
        if (probeSocket(path) == SocketState::Served) return path;
        return std::nullopt;
    }
    for (const QString& name : dir.entryList(QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        if (isUsbSocketName(name) && probeSocket(dir.filePath(name)) == SocketState::Served)
            return dir.filePath(name);
    }
    if (const std::optional<QString> port = portOpened(inv)) {
        const QString path = dir.filePath(socketNameForPort(*port));
        if (probeSocket(path) == SocketState::Served) return path;
    }
    return std::nullopt;
}

} // namespace m7410
