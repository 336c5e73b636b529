#include "ctl/ThroughOwner.h"

#include "ctl/Ctl.h"
#include "share/UnitClient.h"
#include "support/Clock.h"

namespace m7410 {

int runThroughOwner(const QString& socket, const Invocation& inv, Clock& clock,
                    ConsoleView& view, std::ostream& out, std::ostream& err,
                    const std::function<bool()>& stop) {
    UnitClient client([&clock](int ms) { clock.PumpWait(ms); });
    QString error;
    if (!client.open(socket, error)) {
        err << "m7410-ctl: " << error.toStdString() << std::endl;
        return ExitFailure;
    }
    client.setProgressView(&view);
    Ctl ctl(client, view, out, err);
    ctl.setInterrupted(stop);
    return ctl.run(inv);
}

} // namespace m7410
