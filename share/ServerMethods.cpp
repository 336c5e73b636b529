#include "share/ServerMethods.h"

#include "model/ChannelModel.h"
#include "protocol/Frame.h"
#include "share/ProtocolJson.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace m7410 {

namespace {

using Prepared = std::variant<Method, RequestError>;
using Params = QJsonObject;

RequestError invalid(const QString& message) {
    return {QString::fromLatin1(errorKindName(UnitErrorKind::InvalidArgument)), message};
}

// Each check leaves its value or the reason it is refused.
struct Checked {
    QString error;
    bool ok() const { return error.isEmpty(); }
};

int slotOf(const Params& p, Checked& c) {
    const QJsonValue v = p.value("slot");
    const double d = v.toDouble(0);
    if (!v.isDouble() || d != std::floor(d))
        c.error = "slot must be a whole number";
    else if (d < 1 || d > PresetSlotCount)
        c.error = "slot must be 1 to 20";
    return static_cast<int>(d);
}

std::string stringOf(const Params& p, const char* name, Checked& c) {
    const QJsonValue v = p.value(name);
    if (!v.isString()) {
        c.error = QString("%1 must be a string").arg(name);
        return {};
    }
    return v.toString().toStdString();
}

// Files are the owner's to open: a relative path would be taken from the owner's own folder.
std::string fileOf(const Params& p, Checked& c) {
    const std::string path = stringOf(p, "path", c);
    if (c.ok() && !QDir::isAbsolutePath(QString::fromStdString(path)))
        c.error = "path must be absolute";
    return path;
}

// The parameter named by "path"; null with the reason when none is.
const ParameterPath* pathOf(const Params& p, Checked& c) {
    const std::string path = stringOf(p, "path", c);
    if (!c.ok()) return nullptr;
    const ParameterPath* found = findParameterPath(path);
    if (found == nullptr) c.error = "no parameter '" + QString::fromStdString(path) + "'";
    return found;
}

// Runs a unit operation and shapes its value for the reply.
template <class T, class Start, class Shape>
Method exchange(Start start, Shape shape) {
    return Method{true, [start, shape](UnitAccess& unit, MethodReply reply) {
                      start(unit, [reply, shape, &unit](UnitResult<T> r) {
                          if (!r)
                              reply(UnitResult<QJsonObject>(r.error()));
                          else
                              reply(UnitResult<QJsonObject>(shape(unit, r.value())));
                      });
                  },
                  {}};
}

Method answer(std::function<QJsonObject(UnitAccess&)> value) {
    return Method{false, [value](UnitAccess& unit, MethodReply reply) {
                      reply(UnitResult<QJsonObject>(value(unit)));
                  },
                  {}};
}

QJsonObject statusValue(UnitAccess& unit, const UnitStatus& s) {
    QJsonObject o = statusJson(s);
    o.insert("connected", unit.isConnected());
    return o;
}

QJsonObject nothing(UnitAccess&, const Done&) { return {}; }

// A numeric value outside the parameter's range is refused, not held to its end: a script
// that asks for +40 dB has a fault the owner should report.
Checked numberInRange(const ParameterPath& p, const std::string& text) {
    Checked c;
    const char* start = text.c_str();
    char* end = nullptr;
    const double wanted = std::strtod(start, &end);
    if (end == start || !std::isfinite(wanted)) return c;
    std::string why;
    ChannelModel model;
    const auto end_of = [&](const char* extreme) -> std::optional<double> {
        const std::optional<int32_t> i = snapParameterValue(p, extreme, why);
        if (!i) return std::nullopt;
        storeParameter(model, p, *i);
        return readParameter(model, p).number;
    };
    const std::optional<double> low = end_of("-1000000000");
    const std::optional<double> high = end_of("1000000000");
    if (!low || !high) return c;
    const double slack = (*high - *low) * 0.01 + 0.05;
    if (wanted < *low - slack || wanted > *high + slack)
        c.error = QString("%1 must be from %2 to %3")
                      .arg(QString::fromStdString(p.path))
                      .arg(*low)
                      .arg(*high);
    return c;
}

// Whether a stored index is one the parameter can hold: within its numeric range, or an entry
// whose text names it again.
bool indexAllowed(const ParameterPath& p, int32_t index) {
    std::string why;
    ChannelModel model;
    const std::optional<int32_t> low = snapParameterValue(p, "-1000000000", why);
    const std::optional<int32_t> high = snapParameterValue(p, "1000000000", why);
    if (low && high && index >= std::min(*low, *high) && index <= std::max(*low, *high))
        return true;
    storeParameter(model, p, index);
    const std::optional<int32_t> again = snapParameterValue(p, readParameter(model, p).text, why);
    return again && *again == index;
}

std::optional<int32_t> indexOf(const ParameterPath& p, const Params& params, QString& error) {
    const QJsonValue index = params.value("index");
    const QJsonValue v = params.value("value");
    if (!index.isUndefined()) {
        const double d = index.toDouble(-1);
        if (!index.isDouble() || d != std::floor(d) || !indexAllowed(p, static_cast<int32_t>(d))) {
            error = QString::fromStdString(p.path) + ": index " + QString::number(d) +
                    " is not one of its stored indexes";
            return std::nullopt;
        }
        return static_cast<int32_t>(d);
    }
    std::string text;
    if (v.isString())
        text = v.toString().toStdString();
    else if (v.isDouble())
        text = QString::number(v.toDouble(), 'g', 12).toStdString();
    else {
        error = "value must be a string or a number (or index a stored index)";
        return std::nullopt;
    }
    if (Checked range = numberInRange(p, text); !range.ok()) {
        error = range.error;
        return std::nullopt;
    }
    std::string why;
    const std::optional<int32_t> snapped = snapParameterValue(p, text, why);
    if (!snapped) error = QString::fromStdString(p.path + ": '" + text + "': " + why);
    return snapped;
}

Prepared setMethod(const Params& params) {
    Checked c;
    const ParameterPath* p = pathOf(params, c);
    if (!c.ok()) return invalid(c.error);
    QString why;
    const std::optional<int32_t> index = indexOf(*p, params, why);
    if (!index) return invalid(why);
    const ParameterPath path_ = *p;
    const int32_t i = *index;
    return exchange<Done>(
        [path_, i](UnitAccess& u, UnitDone<Done> d) { u.setParameter(path_, i, std::move(d)); },
        [path_](UnitAccess& u, const Done&) { return readingJson(u.model(), path_); });
}

Prepared applyEqMethod(const Params& params) {
    Checked c;
    const std::string channel = stringOf(params, "channel", c);
    if (!c.ok()) return invalid(c.error);
    const int ch = channelIndexOf(channel);
    if (ch < 0) return invalid("channel must be main, high, middle or low");
    const QJsonArray list = params.value("bands").toArray();
    if (!params.value("bands").isArray() || list.size() != EqRowsPerChannel)
        return invalid("bands must be a list of the channel's 6 bands");
    ChannelBands bands;
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        QString why;
        const std::optional<EqBand> b = bandFromJson(list[row], why);
        if (!b) return invalid(why);
        bands[static_cast<std::size_t>(row)] = *b;
    }
    return exchange<Done>(
        [ch, bands](UnitAccess& u, UnitDone<Done> d) { u.applyEq(ch, bands, std::move(d)); },
        nothing);
}

Prepared storeMethod(const Params& params) {
    Checked c;
    const int slot = slotOf(params, c);
    if (!c.ok()) return invalid(c.error);
    const QString name = params.value("name").toString();
    if (!params.value("name").isString()) return invalid("name must be a string");
    for (QChar ch : name)
        if (ch.unicode() > 0xFF) return invalid("name must be Latin-1 characters");
    const std::string bytes = latin1Bytes(name);
    return exchange<Done>([slot, bytes](UnitAccess& u,
                                        UnitDone<Done> d) { u.store(slot, bytes, std::move(d)); },
                          nothing);
}

using Factory = std::function<Prepared(const Params&)>;

QJsonObject nameValue(UnitAccess&, const std::string& name) {
    return {{"name", latin1Text(name)}};
}

QJsonObject recordsValue(UnitAccess&, const std::vector<std::string>& records) {
    return {{"records", recordsJson(records)}};
}

// A method on one file of the owner's: the path checked, then the call with it.
template <class T>
Factory fileMethod(std::function<void(UnitAccess&, const std::string&, UnitDone<T>)> call,
                   std::function<QJsonObject(UnitAccess&, const T&)> value) {
    return [call, value](const Params& params) -> Prepared {
        Checked c;
        const std::string file = fileOf(params, c);
        if (!c.ok()) return invalid(c.error);
        return exchange<T>(
            [call, file](UnitAccess& u, UnitDone<T> d) { call(u, file, std::move(d)); }, value);
    };
}

const std::map<QString, Factory>& methods() {
    static const std::map<QString, Factory> table = {
        {"status",
         [](const Params&) -> Prepared {
             return answer([](UnitAccess& u) { return statusValue(u, u.status()); });
         }},
        {"model",
         [](const Params&) -> Prepared {
             return answer([](UnitAccess& u) {
                 return QJsonObject{{"connected", u.isConnected()},
                                    {"parameters", parametersJson(u.model())}};
             });
         }},
        {"get",
         [](const Params& params) -> Prepared {
             Checked c;
             const ParameterPath* p = pathOf(params, c);
             if (!c.ok()) return invalid(c.error);
             const ParameterPath copy = *p;
             return answer([copy](UnitAccess& u) { return readingJson(u.model(), copy); });
         }},
        {"connect",
         [](const Params&) -> Prepared {
             Method m = exchange<UnitStatus>(
                 [](UnitAccess& u, UnitDone<UnitStatus> d) {
                     if (u.isConnected())
                         d(UnitResult<UnitStatus>(u.status()));
                     else
                         u.connect(std::move(d));
                 },
                 statusValue);
             m.atOnce = [](const UnitAccess& u) { return u.isConnected(); };
             return m;
         }},
        {"disconnect",
         [](const Params&) -> Prepared {
             return exchange<Done>(
                 [](UnitAccess& u, UnitDone<Done> d) { u.disconnect(std::move(d)); }, nothing);
         }},
        {"read-status",
         [](const Params&) -> Prepared {
             return exchange<UnitStatus>(
                 [](UnitAccess& u, UnitDone<UnitStatus> d) { u.readStatus(std::move(d)); },
                 statusValue);
         }},
        {"recall",
         [](const Params& params) -> Prepared {
             Checked c;
             const int slot = slotOf(params, c);
             if (!c.ok()) return invalid(c.error);
             return exchange<UnitStatus>(
                 [slot](UnitAccess& u, UnitDone<UnitStatus> d) { u.recall(slot, std::move(d)); },
                 statusValue);
         }},
        {"store", storeMethod},
        {"save-current", fileMethod<std::string>(&UnitAccess::saveCurrent, nameValue)},
        {"load-current", fileMethod<std::string>(&UnitAccess::loadCurrent, nameValue)},
        {"backup", fileMethod<std::vector<std::string>>(&UnitAccess::backup, recordsValue)},
        {"restore",
         [](const Params& params) -> Prepared {
             const QJsonValue v = params.value("verify");
             if (!v.isUndefined() && !v.isBool()) return invalid("verify must be true or false");
             const bool verify = v.toBool(true);
             return fileMethod<RestoreReport>(
                 [verify](UnitAccess& u, const std::string& file, UnitDone<RestoreReport> d) {
                     u.restore(file, verify, std::move(d));
                 },
                 [](UnitAccess&, const RestoreReport& r) { return reportJson(r); })(params);
         }},
        {"read-presets",
         [](const Params&) -> Prepared {
             return exchange<std::vector<std::string>>(
                 [](UnitAccess& u, UnitDone<std::vector<std::string>> d) {
                     u.readPresets(std::move(d));
                 },
                 recordsValue);
         }},
        {"set", setMethod},
        {"apply-eq", applyEqMethod},
    };
    return table;
}

} // namespace

std::variant<Method, RequestError> prepareMethod(const QString& name, const QJsonObject& params) {
    const auto it = methods().find(name);
    if (it == methods().end())
        return RequestError{UnknownMethod, "no method '" + name + "'"};
    return it->second(params);
}

} // namespace m7410
