#include "app/WindowOwner.h"

#include "app/AppLogging.h"
#include "share/UnitServer.h"
#include "unit/Unit.h"

#include <QTimer>

namespace m7410 {

WindowOwner::WindowOwner(Unit& unit, Clock& clock, std::function<void()> showOthersEdit,
                         QObject* parent)
    : QObject(parent), unit(unit), serving(std::make_unique<UnitServer>(unit, clock)),
      showOthersEdit(std::move(showOthersEdit)) {
    UnitListener l;
    l.linkChanged = [this](bool open) { linkChanged(open); };
    // The unit reports an edit made through it as this program's; a request of a client
    // being served makes it another program's.
    l.parameterChanged = [this](const std::string&, ChangeOrigin) {
        if (serving->requestingClient() != 0) othersEdit();
    };
    listener = unit.subscribe(std::move(l));
}

WindowOwner::~WindowOwner() {
    unit.unsubscribe(listener);
    serving->close();
}

void WindowOwner::linkChanged(bool open) {
    if (!open) {
        serving->close();
        return;
    }
    if (serving->isListening()) return;
    // Another program serving this unit already (m7410-ctl serve) keeps it; the window works
    // on its own link as before.
    QString error;
    if (!serving->listenForUnit(error))
        qCInfo(appLog) << "not serving the unit to other programs:" << error;
}

void WindowOwner::othersEdit() {
    if (redrawDue) return;
    redrawDue = true;
    QTimer::singleShot(0, this, [this] {
        redrawDue = false;
        showOthersEdit();
    });
}

} // namespace m7410
