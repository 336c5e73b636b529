#include "share/UnitClient.h"

#include "protocol/Frame.h"
#include "protocol/SessionView.h"
#include "share/ProtocolJson.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QTimer>

namespace m7410 {

namespace {
// The owner's lines are its own results and events; a line this long is not one.
constexpr qsizetype OwnerLineLimit = 16 << 20;

QString channelName(int channel) {
    for (const std::string& name : channelNames())
        if (channelIndexOf(name) == channel) return QString::fromStdString(name);
    return {};
}

QString absolute(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).absoluteFilePath();
}
} // namespace

UnitClient::UnitClient(Pump pump, QObject* parent)
    : QObject(parent), pump(std::move(pump)), socket(new QLocalSocket(this)),
      reader(OwnerLineLimit) {
    QObject::connect(socket, &QLocalSocket::readyRead, this, &UnitClient::readLines);
    QObject::connect(socket, &QLocalSocket::disconnected, this, &UnitClient::lost);
}

UnitClient::~UnitClient() {
    socket->disconnect(this);
    socket->abort();
}

bool UnitClient::open(const QString& path, QString& error) {
    socket->connectToServer(path);
    QElapsedTimer elapsed;
    elapsed.start();
    while (!greeted && elapsed.elapsed() < GreetingLimitMs &&
           socket->state() != QLocalSocket::UnconnectedState)
        pump(WaitSliceMs);
    if (!greeted) {
        error = socket->state() == QLocalSocket::UnconnectedState
                    ? path + ": " + socket->errorString()
                    : path + ": the owner did not greet in time";
        socket->abort();
        return false;
    }
    if (protocol != ProtocolVersion) {
        error = QString("the program serving %1 speaks protocol version %2; this one speaks %3")
                    .arg(path)
                    .arg(protocol)
                    .arg(ProtocolVersion);
        socket->abort();
        return false;
    }
    request("subscribe", {}, [](UnitResult<QJsonObject>) {});
    return true;
}

bool UnitClient::isOpen() const { return socket->state() == QLocalSocket::ConnectedState; }

void UnitClient::request(const QString& method, const QJsonObject& params,
                         std::function<void(UnitResult<QJsonObject>)> done) {
    if (!isOpen()) {
        done(UnitResult<QJsonObject>::failure(UnitErrorKind::LinkLost,
                                              "the program that served the unit is gone"));
        return;
    }
    const qint64 id = nextRequest++;
    pending.emplace(id, std::move(done));
    QJsonObject r{{"v", ProtocolVersion}, {"id", id}, {"method", method}};
    if (!params.isEmpty()) r.insert("params", params);
    socket->write(jsonLine(r));
    socket->flush();
}

void UnitClient::readLines() {
    reader.append(socket->readAll());
    if (!pumping)
        takeLines(false);
    else if (!holding)
        takeLines(true);
}

bool UnitClient::takeLines(bool toFirstResult) {
    while (const std::optional<LineReader::Line> line = reader.next()) {
        if (line->tooLong) continue;
        const QJsonDocument doc = QJsonDocument::fromJson(line->text);
        if (doc.isObject() && take(doc.object()) && toFirstResult) {
            holding = true;
            return true;
        }
    }
    return false;
}

void UnitClient::pumpWait(int ms) {
    // While a caller waits, lines are taken up to the first result only, and the rest wait
    // until it has looked: it sees the model as it was when the owner answered, not as the
    // lines after (another program's edit) make it. They are taken once the events run again.
    holding = false;
    pumping = true;
    if (!takeLines(true)) pump(ms);
    pumping = false;
    if (holding)
        QTimer::singleShot(0, this, [this] {
            if (!pumping) takeLines(false);
        });
}

bool UnitClient::take(const QJsonObject& m) {
    if (m.contains("event")) {
        takeEvent(m);
        return false;
    }
    const auto it = pending.find(static_cast<qint64>(m.value("id").toDouble(-1)));
    if (it == pending.end()) return false;
    auto done = std::move(it->second);
    pending.erase(it);
    if (m.contains("error"))
        done(UnitResult<QJsonObject>(errorFromJson(m.value("error").toObject())));
    else
        done(UnitResult<QJsonObject>(m.value("value").toObject()));
    return true;
}

void UnitClient::takeEvent(const QJsonObject& e) {
    const QString name = e.value("event").toString();
    if (name == "hello") {
        greeted = true;
        protocol = e.value("protocol").toInt();
        ownId = e.value("client").toInt();
        pid = static_cast<qint64>(e.value("pid").toDouble());
        known.link = e.value("unit").toString().toStdString();
    } else if (name == "link") {
        ownerConnected = e.value("open").toBool();
        notify([this](UnitListener& l) { if (l.linkChanged) l.linkChanged(ownerConnected); });
    } else if (name == "parameter") {
        const std::string path = e.value("path").toString().toStdString();
        const ParameterPath* p = findParameterPath(path);
        if (p == nullptr) return;
        storeParameter(copy, *p, e.value("index").toInt());
        origin = e.value("origin").toString();
        if (origin == "client") origin += ' ' + QString::number(e.value("client").toInt());
        const bool mine = e.value("origin").toString() == "client" && e.value("client").toInt() == ownId;
        const ChangeOrigin origin = mine ? ChangeOrigin::ThisProgram : ChangeOrigin::Unit;
        notify([&](UnitListener& l) { if (l.parameterChanged) l.parameterChanged(path, origin); });
    } else if (name == "set") {
        storeParameters(copy, e.value("parameters").toObject());
        notify([](UnitListener& l) { if (l.setReplaced) l.setReplaced(ChangeOrigin::Unit); });
    } else if (name == "names") {
        const QJsonArray names = e.value("names").toArray();
        for (qsizetype k = 0; k < names.size() && k < PresetSlotCount; ++k)
            known.names[static_cast<std::size_t>(k)] = latin1Bytes(names[k].toString());
        const auto list = known.names;
        notify([&list](UnitListener& l) { if (l.namesChanged) l.namesChanged(list); });
    } else if (name == "progress") {
        const int percent = e.value("percent").toInt();
        showProgress(percent);
        notify([percent](UnitListener& l) { if (l.progress) l.progress(percent); });
    }
}

void UnitClient::showProgress(int percent) {
    lastPercent = percent;
    // A verifying restore reads back after writing: its second half counts no new writes.
    if (restoring) written = std::max(written, percent * PresetSlotCount / 100);
    if (!progressView || ownExchanges == 0) return;
    if (percent < 0) {
        if (progressShown) progressView->hideProgress();
        progressShown = false;
    } else if (!progressShown) {
        progressShown = true;
        progressView->showProgress(percent);
    } else {
        progressView->setProgress(percent);
    }
}

void UnitClient::lost() {
    // What the owner said before it went is still taken.
    reader.append(socket->readAll());
    takeLines(false);
    ownerConnected = false;
    auto waiting = std::move(pending);
    pending.clear();
    for (auto& [id, done] : waiting)
        done(UnitResult<QJsonObject>::failure(UnitErrorKind::LinkLost,
                                              "the program that served the unit ended"));
    notify([](UnitListener& l) { if (l.linkChanged) l.linkChanged(false); });
}

int UnitClient::subscribe(UnitListener listener) {
    listeners.emplace(nextListener, std::move(listener));
    return nextListener++;
}

void UnitClient::unsubscribe(int id) { listeners.erase(id); }

void UnitClient::notify(const std::function<void(UnitListener&)>& call) {
    std::vector<int> ids;
    for (auto& [id, l] : listeners)
        ids.push_back(id);
    for (int id : ids)
        if (auto it = listeners.find(id); it != listeners.end()) call(it->second);
}

bool UnitClient::isConnected() const { return isOpen() && ownerConnected; }

int UnitClient::presetsWritten() const { return written; }

bool UnitClient::stopRestore() {
    if (!restoring || !isOpen()) return false;
    request("cancel", {}, [](UnitResult<QJsonObject>) {});
    return true;
}

void UnitClient::statusRequest(const QString& method, const QJsonObject& params,
                               UnitDone<UnitStatus> done) {
    request(method, params, [this, done](UnitResult<QJsonObject> r) {
        if (!r) {
            done(UnitResult<UnitStatus>(r.error()));
            return;
        }
        const std::string link = known.link;
        known = statusFromJson(r.value());
        if (known.link.empty()) known.link = link;
        ownerConnected = r.value().value("connected").toBool(ownerConnected);
        done(UnitResult<UnitStatus>(known));
    });
}

// A request of this program's own exchange (its progress is shown) whose value becomes T.
template <class T>
void UnitClient::ownRequest(const QString& method, const QJsonObject& params, UnitDone<T> done,
                            std::function<T(const QJsonObject&)> value) {
    ++ownExchanges;
    request(method, params, [this, done, value](UnitResult<QJsonObject> r) {
        --ownExchanges;
        if (r)
            done(UnitResult<T>(value(r.value())));
        else
            done(UnitResult<T>(r.error()));
    });
}

namespace {
Done nothingOf(const QJsonObject&) { return {}; }
std::string nameOf(const QJsonObject& v) { return latin1Bytes(v.value("name").toString()); }
std::vector<std::string> recordsOf(const QJsonObject& v) {
    return recordsFromJson(v.value("records").toArray());
}
} // namespace

void UnitClient::doneRequest(const QString& method, const QJsonObject& params,
                             UnitDone<Done> done) {
    ownRequest<Done>(method, params, std::move(done), nothingOf);
}

void UnitClient::connect(UnitDone<UnitStatus> done) {
    statusRequest("connect", {}, [this, done](UnitResult<UnitStatus> r) {
        if (!r) {
            done(std::move(r));
            return;
        }
        // The whole model once; the owner's events keep it current from here.
        request("model", {}, [this, done, r](UnitResult<QJsonObject> m) {
            if (!m) {
                done(UnitResult<UnitStatus>(m.error()));
                return;
            }
            storeParameters(copy, m.value().value("parameters").toObject());
            done(r);
        });
    });
}

void UnitClient::disconnect(UnitDone<Done> done) {
    socket->disconnect(this);
    if (isOpen()) {
        socket->flush();
        socket->disconnectFromServer();
    }
    done(UnitResult<Done>(Done{}));
}

void UnitClient::readStatus(UnitDone<UnitStatus> done) { statusRequest("read-status", {}, std::move(done)); }

void UnitClient::recall(int slot, UnitDone<UnitStatus> done) {
    statusRequest("recall", {{"slot", slot}}, std::move(done));
}

void UnitClient::store(int slot, const std::string& name, UnitDone<Done> done) {
    doneRequest("store", {{"slot", slot}, {"name", latin1Text(name)}}, std::move(done));
}

void UnitClient::saveCurrent(const std::string& path, UnitDone<std::string> done) {
    ownRequest<std::string>("save-current", {{"path", absolute(path)}}, std::move(done), nameOf);
}

void UnitClient::loadCurrent(const std::string& path, UnitDone<std::string> done) {
    ownRequest<std::string>("load-current", {{"path", absolute(path)}}, std::move(done), nameOf);
}

void UnitClient::backup(const std::string& path, UnitDone<std::vector<std::string>> done) {
    ownRequest<std::vector<std::string>>("backup", {{"path", absolute(path)}}, std::move(done),
                                         recordsOf);
}

void UnitClient::restore(const std::string& path, bool verify, UnitDone<RestoreReport> done) {
    restoring = true;
    written = 0;
    lastPercent = -1;
    ownRequest<RestoreReport>(
        "restore", {{"path", absolute(path)}, {"verify", verify}},
        [this, done](UnitResult<RestoreReport> r) {
            restoring = false;
            done(std::move(r));
        },
        reportFromJson);
}

void UnitClient::readPresets(UnitDone<std::vector<std::string>> done) {
    ownRequest<std::vector<std::string>>("read-presets", {}, std::move(done), recordsOf);
}

void UnitClient::setParameter(const ParameterPath& path, int32_t index, UnitDone<Done> done) {
    // The copy follows at once, as a Unit's own model does; the owner's event confirms it.
    storeParameter(copy, path, index);
    doneRequest("set", {{"path", QString::fromStdString(path.path)}, {"index", index}},
                std::move(done));
}

void UnitClient::applyEq(int channel, const ChannelBands& bands, UnitDone<Done> done) {
    QJsonArray list;
    for (const EqBand& b : bands)
        list.append(bandIndexJson(b));
    doneRequest("apply-eq", {{"channel", channelName(channel)}, {"bands", list}}, std::move(done));
}

} // namespace m7410
