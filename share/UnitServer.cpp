#include "share/UnitServer.h"

#include "share/PeerUser.h"
#include "share/ProtocolJson.h"
#include "share/RuntimeFolder.h"
#include "share/ServerMethods.h"
#include "share/ShareLogging.h"
#include "share/SocketProbe.h"
#include "support/Clock.h"
#include "unit/Unit.h"

#include <QFile>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace m7410 {

namespace {
// While another front end of the owner holds the unit, its turn is looked for this often.
constexpr int BusyRetryMs = 20;

QJsonObject eventNamed(const char* name) { return {{"v", ProtocolVersion}, {"event", name}}; }
} // namespace

UnitServer::UnitServer(Unit& unit, Clock& clock, QObject* parent)
    : QObject(parent), unit(unit), server(new QLocalServer(this)),
      life(std::make_shared<int>(0)) {
    connect(server, &QLocalServer::newConnection, this, &UnitServer::accept);
    nextTimer = clock.createTimer(0, [this] { runNext(); }, true);
    listenToUnit();
}

UnitServer::~UnitServer() {
    unit.unsubscribe(listener);
    nextTimer.reset();
    for (auto& [id, c] : clients) {
        c->socket->disconnect(this);
        c->socket->abort();
    }
    clients.clear();
    server->close();
}

void UnitServer::listenToUnit() {
    UnitListener l;
    l.linkChanged = [this](bool open) {
        QJsonObject e = eventNamed("link");
        e.insert("open", open);
        broadcast(e);
    };
    l.setReplaced = [this](ChangeOrigin origin) {
        QJsonObject e = eventNamed("set");
        e.insert("origin", originName(origin));
        e.insert("parameters", parametersJson(unit.model()));
        broadcast(e);
    };
    l.parameterChanged = [this](const std::string& path, ChangeOrigin origin) {
        const ParameterPath* p = findParameterPath(path);
        if (p == nullptr) return;
        QJsonObject e = readingJson(unit.reportedModel(), *p);
        e.insert("v", ProtocolVersion);
        e.insert("event", "parameter");
        if (requester != 0) {
            e.insert("origin", "client");
            e.insert("client", requester);
        } else {
            e.insert("origin", originName(origin));
        }
        broadcast(e);
    };
    l.namesChanged = [this](const std::array<std::string, 20>& names) {
        QJsonArray list;
        for (const std::string& n : names)
            list.append(latin1Text(n));
        QJsonObject e = eventNamed("names");
        e.insert("names", list);
        broadcast(e);
    };
    l.progress = [this](int percent) {
        QJsonObject e = eventNamed("progress");
        e.insert("percent", percent);
        broadcast(e);
    };
    listener = unit.subscribe(std::move(l));
}

bool UnitServer::listen(const QString& path, QString& error) {
    switch (probeSocket(path)) {
    case SocketState::Served:
        error = "another program serves this unit at " + path;
        return false;
    case SocketState::NotASocket:
        error = path + " is not a socket; it is left as it is";
        return false;
    case SocketState::Stale:
        // Left behind by an owner that ended without closing; nobody listens there.
        QLocalServer::removeServer(path);
        break;
    case SocketState::Absent:
        break;
    }
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        error = path + ": " + server->errorString();
        return false;
    }
    // The folder is the user's alone already; the socket itself is read and write for the user.
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner)) {
        server->close();
        error = path + ": its mode cannot be set";
        return false;
    }
    return true;
}

bool UnitServer::listenForUnit(QString& error) {
    const std::optional<UnitIdentity> id = unit.identity();
    if (!id) {
        error = "no link to a unit is open";
        return false;
    }
    const std::optional<QString> folder = runtimeFolder(error);
    if (!folder) return false;
    return listen(*folder + '/' + socketNameFor(*id), error);
}

void UnitServer::close() { server->close(); }

bool UnitServer::isListening() const { return server->isListening(); }

QString UnitServer::socketPath() const { return server->fullServerName(); }

void UnitServer::accept() {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        const std::optional<uid_t> user = peerUser(socket->socketDescriptor());
        if (user != ::getuid()) {
            // The socket's mode keeps other users out already; a peer that got in anyway (a
            // mode changed from outside, root acting as another user) is not served.
            qCWarning(lcShare).noquote()
                << "refused a connection from"
                << (user ? QString("user %1").arg(*user) : QString("a peer whose user is unknown"));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto c = std::make_unique<Client>();
        c->id = nextClient++;
        c->socket = socket;
        c->reader = LineReader(RequestLineLimit);
        const int id = c->id;
        clients.emplace(id, std::move(c));
        connect(socket, &QLocalSocket::readyRead, this, [this, id] { readFrom(id); });
        connect(socket, &QLocalSocket::disconnected, this, [this, id] { drop(id); });
        QJsonObject hello = eventNamed("hello");
        hello.insert("protocol", ProtocolVersion);
        hello.insert("client", id);
        hello.insert("pid", static_cast<qint64>(::getpid()));
        hello.insert("unit", QString::fromStdString(unit.status().link));
        send(id, hello);
    }
}

void UnitServer::drop(int clientId) {
    const auto it = clients.find(clientId);
    if (it == clients.end()) return;
    QLocalSocket* socket = it->second->socket;
    clients.erase(it);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void UnitServer::readFrom(int clientId) {
    auto it = clients.find(clientId);
    if (it == clients.end()) return;
    it->second->reader.append(it->second->socket->readAll());
    for (;;) {
        it = clients.find(clientId);
        if (it == clients.end()) return;
        const std::optional<LineReader::Line> line = it->second->reader.next();
        if (!line) return;
        if (line->tooLong) {
            replyError(clientId, QJsonValue(), RequestTooLong,
                       QString("a request is at most %1 bytes").arg(RequestLineLimit));
            continue;
        }
        if (line->text.trimmed().isEmpty()) continue;
        handle(*it->second, line->text);
    }
}

void UnitServer::handle(Client& client, const QByteArray& line) {
    const int cid = client.id;
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        replyError(cid, QJsonValue(), BadRequest,
                   parse.error != QJsonParseError::NoError
                       ? "not JSON: " + parse.errorString()
                       : QString("a request is a JSON object"));
        return;
    }
    const QJsonObject request = doc.object();
    const QJsonValue id = request.value("id");
    if (!id.isDouble() && !id.isString()) {
        replyError(cid, QJsonValue(), BadRequest, "a request needs an id, a number or a string");
        return;
    }
    if (request.value("v").toInt(-1) != ProtocolVersion || !request.value("v").isDouble()) {
        replyError(cid, id, UnsupportedVersion,
                   QString("this owner speaks version %1 (\"v\": %1)").arg(ProtocolVersion));
        return;
    }
    const QJsonValue method = request.value("method");
    const QJsonValue params = request.value("params");
    if (!method.isString() || (!params.isUndefined() && !params.isObject())) {
        replyError(cid, id, BadRequest, "a request has a method name and, if any, params as an object");
        return;
    }
    if (method.toString() == "subscribe" || method.toString() == "unsubscribe") {
        client.subscribed = method.toString() == "subscribe";
        reply(cid, id, {});
        return;
    }
    if (method.toString() == "cancel") {
        // Only a client's own exchange is its to stop; a restore ends after the preset in
        // flight and its result says how many were written.
        const bool stopping = running && runningClient == cid && unit.stopRestore();
        reply(cid, id, {{"stopping", stopping}});
        return;
    }
    std::variant<Method, RequestError> prepared = prepareMethod(method.toString(), params.toObject());
    if (const RequestError* e = std::get_if<RequestError>(&prepared)) {
        replyError(cid, id, e->kind, e->message);
        return;
    }
    Method m = std::move(std::get<Method>(prepared));
    const std::weak_ptr<int> alive = life;
    if (!m.exchange || (m.atOnce && m.atOnce(unit))) {
        m.run(unit, [this, cid, id](UnitResult<QJsonObject> r) {
            if (r)
                reply(cid, id, r.value());
            else
                replyError(cid, id, QString::fromLatin1(errorKindName(r.error().kind)),
                           QString::fromStdString(r.error().message));
        });
        return;
    }
    if (client.waiting >= WaitingLimit) {
        replyError(cid, id, QString::fromLatin1(errorKindName(UnitErrorKind::Busy)),
                   "too many requests of this client are waiting");
        return;
    }
    ++client.waiting;
    jobs.push_back(Job{cid, id, [this, alive, cid, id, m] {
                           requester = cid;
                           runningClient = cid;
                           m.run(unit, [this, alive, cid, id](UnitResult<QJsonObject> r) {
                               if (alive.expired()) return;
                               running = false;
                               runningClient = 0;
                               if (auto it = clients.find(cid); it != clients.end())
                                   --it->second->waiting;
                               if (r)
                                   reply(cid, id, r.value());
                               else
                                   replyError(cid, id,
                                              QString::fromLatin1(errorKindName(r.error().kind)),
                                              QString::fromStdString(r.error().message));
                               scheduleNext(0);
                           });
                           requester = 0;
                       }});
    scheduleNext(0);
}

void UnitServer::scheduleNext(int ms) {
    if (running || jobs.empty()) return;
    nextTimer->setInterval(ms);
    nextTimer->start();
}

void UnitServer::runNext() {
    if (running || jobs.empty()) return;
    // The owner's own front end may be in an exchange; the queue waits for it.
    if (unit.isBusy()) {
        scheduleNext(BusyRetryMs);
        return;
    }
    Job job = std::move(jobs.front());
    jobs.pop_front();
    running = true;
    job.start();
}

void UnitServer::send(int clientId, const QJsonObject& message) {
    const auto it = clients.find(clientId);
    if (it == clients.end()) return;
    QLocalSocket* socket = it->second->socket;
    const QByteArray line = jsonLine(message);
    // A client that does not read would make the owner hold ever more for it.
    if (socket->bytesToWrite() + line.size() > outgoingLimit) {
        drop(clientId);
        return;
    }
    socket->write(line);
}

void UnitServer::reply(int clientId, const QJsonValue& id, const QJsonObject& result) {
    send(clientId, {{"v", ProtocolVersion}, {"id", id}, {"value", result}});
}

void UnitServer::replyError(int clientId, const QJsonValue& id, const QString& kind,
                            const QString& text) {
    send(clientId, {{"v", ProtocolVersion}, {"id", id.isUndefined() ? QJsonValue() : id},
                    {"error", errorJson(kind, text)}});
}

void UnitServer::broadcast(const QJsonObject& e) {
    std::vector<int> ids;
    for (const auto& [id, c] : clients)
        if (c->subscribed) ids.push_back(id);
    for (int id : ids)
        send(id, e);
}

} // namespace m7410
