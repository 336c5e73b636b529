#include "unit/UnitLink.h"

#include "link/ConnectionAssembly.h"
#include "link/HidUnitPicker.h"
#include "protocol/Session.h"

#include <QFileInfo>

namespace m7410 {

UnitLink linkOf(ConnectionAssembly& engine) {
    ConnectionAssembly* e = &engine;
    return {engine.session, engine.connection, [e] { return e->hidctl.scanCount() > 0; },
            [e] {
                if (e->serial.currentPortNumber == Connection::HidPortNumber)
                    return "USB " + HidUnitPicker::UnitName.toStdString();
                return "serial " + e->serial.currentPortLocation.toStdString();
            },
            [e] { return e->serial.currentPortLocation.toStdString(); },
            [e]() -> std::optional<UnitIdentity> {
                if (e->session.linkOpen() == 0) return std::nullopt;
                UnitIdentity id;
                if (e->serial.currentPortNumber == Connection::HidPortNumber) {
                    HidDevice* dev = e->picker.activeHidDevice();
                    if (dev == nullptr) return std::nullopt;
                    id.usb = true;
                    id.node = dev->pnpInfo().path;
                    id.serial = dev->SerialText().toStdString();
                    return id;
                }
                const QString port = e->serial.currentPortLocation;
                const QString resolved = QFileInfo(port).canonicalFilePath();
                id.port = (resolved.isEmpty() ? port : resolved).toStdString();
                return id;
            }};
}

} // namespace m7410
