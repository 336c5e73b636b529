#include "unit/UnitLink.h"

#include "link/ConnectionAssembly.h"
#include "link/HidUnitPicker.h"

namespace m7410 {

UnitLink linkOf(ConnectionAssembly& engine) {
    ConnectionAssembly* e = &engine;
    return {engine.session, engine.connection, [e] { return e->hidctl.scanCount() > 0; },
            [e] {
                if (e->serial.currentPortNumber == Connection::HidPortNumber)
                    return "USB " + HidUnitPicker::UnitName.toStdString();
                return "serial " + e->serial.currentPortLocation.toStdString();
            },
            [e] { return e->serial.currentPortLocation.toStdString(); }};
}

} // namespace m7410
