#include "ctl/ListCommand.h"

#include "ctl/OwnerRoute.h"
#include "share/RuntimeFolder.h"
#include "share/UnitClient.h"
#include "support/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <set>

namespace m7410 {

namespace {

// The owner's program name, as the system shows it.
QString programOf(qint64 pid) {
    QFile comm(QString("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly)) return "?";
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

struct Entry {
    QString id;
    QString link;
    QString owner; // empty when nobody serves it
    qint64 pid = 0;
};

} // namespace

int listCommand(const Invocation& inv, Clock& clock, std::ostream& out, std::ostream& err) {
    std::vector<Entry> entries;
    std::set<QString> served;
    QString error;
    for (const QString& path : servedSockets()) {
        UnitClient client([&clock](int ms) { clock.PumpWait(ms); });
        if (!client.open(path, error)) {
            err << "m7410-ctl: " << error.toStdString() << '\n';
            continue;
        }
        const QString name = QFileInfo(path).fileName();
        entries.push_back({name, QString::fromStdString(client.status().link),
                           programOf(client.ownerPid()), client.ownerPid()});
        served.insert(name);
    }
    for (const std::string& port : inv.ports) {
        const QString name = socketNameForPort(QString::fromStdString(port));
        if (served.count(name) == 0)
            entries.push_back({name, "serial " + QString::fromStdString(port), {}, 0});
    }
    if (inv.json) {
        QJsonArray units;
        for (const Entry& e : entries) {
            QJsonObject o{{"unit", e.id}, {"link", e.link}};
            o.insert("owner", e.owner.isEmpty() ? QJsonValue()
                                                : QJsonValue(QJsonObject{{"program", e.owner},
                                                                         {"pid", e.pid}}));
            units.append(o);
        }
        out << QJsonDocument(QJsonObject{{"units", units}}).toJson(QJsonDocument::Compact).toStdString()
            << '\n';
        return ExitOk;
    }
    if (entries.empty()) out << "no unit is served (a USB unit shows here while a program holds it)\n";
    for (const Entry& e : entries) {
        out << e.id.toStdString() << "  " << e.link.toStdString() << "  "
            << (e.owner.isEmpty() ? std::string("not served")
                                  : "served by " + e.owner.toStdString() + " (pid " +
                                        std::to_string(e.pid) + ")")
            << '\n';
    }
    return ExitOk;
}

} // namespace m7410
