#include "ctl/AllUnits.h"

#include "ctl/OwnerRoute.h"
#include "ctl/ThroughOwner.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <sstream>

namespace m7410 {

namespace {

// Each line of a unit's output with the unit's name: a field of a JSON line, else a prefix.
void marked(const std::string& text, const QString& unit, bool json, std::ostream& to) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (json) {
            QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
            o.insert("unit", unit);
            to << QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString() << '\n';
        } else {
            to << unit.toStdString() << ": " << line << '\n';
        }
    }
    to.flush();
}

} // namespace

int runOnAllUnits(const Invocation& inv, Clock& clock, ConsoleView& view, std::ostream& out,
                  std::ostream& err, const std::function<bool()>& stop) {
    const std::vector<QString> sockets = servedSockets();
    if (sockets.empty()) {
        err << "m7410-ctl: --all: no unit is served (m7410-ctl serve, or the window, serves one)\n";
        return ExitFailure;
    }
    int code = ExitOk;
    for (const QString& socket : sockets) {
        if (stop()) return ExitInterrupted;
        const QString unit = QFileInfo(socket).fileName();
        Invocation one = inv;
        // One file per unit in the folder, named by the unit.
        if (inv.command == Command::Backup)
            one.file = inv.file + "/" + unit.toStdString() + ".m7410";
        std::ostringstream unitOut;
        std::ostringstream unitErr;
        const int result = runThroughOwner(socket, one, clock, view, unitOut, unitErr, stop);
        marked(unitOut.str(), unit, inv.json, out);
        marked(unitErr.str(), unit, false, err);
        if (code == ExitOk) code = result;
    }
    return code;
}

} // namespace m7410
