#include "share/ProtocolJson.h"

#include "model/ChannelModel.h"
#include "model/ValueTables.h"
#include "protocol/Frame.h"

#include <QJsonDocument>

namespace m7410 {

QByteArray jsonLine(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QString latin1Text(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string latin1Bytes(const QString& text) { return text.toLatin1().toStdString(); }

QJsonObject statusJson(const UnitStatus& s) {
    QJsonArray names;
    for (const std::string& n : s.names)
        names.append(latin1Text(n));
    return {{"link", QString::fromStdString(s.link)},
            {"currentPreset", s.currentPreset},
            {"currentName", latin1Text(s.currentName)},
            {"bassOn", s.bassOn ? QJsonValue(*s.bassOn) : QJsonValue()},
            {"names", names}};
}

UnitStatus statusFromJson(const QJsonObject& o) {
    UnitStatus s;
    s.link = o.value("link").toString().toStdString();
    s.currentPreset = o.value("currentPreset").toInt(1);
    s.currentName = latin1Bytes(o.value("currentName").toString());
    if (o.value("bassOn").isBool()) s.bassOn = o.value("bassOn").toBool();
    const QJsonArray names = o.value("names").toArray();
    for (qsizetype k = 0; k < names.size() && k < PresetSlotCount; ++k)
        s.names[static_cast<std::size_t>(k)] = latin1Bytes(names[k].toString());
    return s;
}

QJsonArray recordsJson(const std::vector<std::string>& records) {
    QJsonArray out;
    for (const std::string& r : records)
        out.append(latin1Text(r));
    return out;
}

std::vector<std::string> recordsFromJson(const QJsonArray& array) {
    std::vector<std::string> out;
    for (const QJsonValue& v : array)
        out.push_back(latin1Bytes(v.toString()));
    return out;
}

QJsonObject reportJson(const RestoreReport& r) {
    QJsonArray differing;
    for (int slot : r.differing)
        differing.append(slot);
    return {{"written", recordsJson(r.written)},
            {"verified", r.verified ? QJsonValue(*r.verified) : QJsonValue()},
            {"differing", differing}};
}

RestoreReport reportFromJson(const QJsonObject& o) {
    RestoreReport r;
    r.written = recordsFromJson(o.value("written").toArray());
    if (o.value("verified").isBool()) r.verified = o.value("verified").toBool();
    for (const QJsonValue& v : o.value("differing").toArray())
        r.differing.push_back(v.toInt());
    return r;
}

QJsonObject parametersJson(const ChannelModel& model) {
    QJsonObject out;
    for (const ParameterPath& p : allParameterPaths())
        out.insert(QString::fromStdString(p.path), parameterIndex(model, p));
    return out;
}

void storeParameters(ChannelModel& model, const QJsonObject& parameters) {
    // In catalogue order: a band's type comes before its gain, which the type selects.
    for (const ParameterPath& p : allParameterPaths()) {
        const QJsonValue v = parameters.value(QString::fromStdString(p.path));
        if (v.isDouble()) storeParameter(model, p, v.toInt());
    }
}

QJsonObject readingJson(const ChannelModel& model, const ParameterPath& p) {
    const ParameterReading r = readParameter(model, p);
    QJsonObject o{{"path", QString::fromStdString(p.path)},
                  {"index", parameterIndex(model, p)},
                  {"text", QString::fromStdString(r.text)}};
    if (r.number) {
        o.insert("number", *r.number);
        o.insert("unit", QString::fromStdString(r.unit));
    }
    return o;
}

QJsonObject bandIndexJson(const EqBand& b) {
    return {{"type", b.type},
            {"freq", b.freq},
            {"peakGain", b.peakGain},
            {"shelfGain", b.shelfGain},
            {"q", b.q}};
}

std::optional<EqBand> bandFromJson(const QJsonValue& value, QString& error) {
    if (!value.isObject()) {
        error = "a band is an object of stored indexes";
        return std::nullopt;
    }
    const QJsonObject o = value.toObject();
    EqBand band;
    const struct {
        const char* name;
        int count;
        int32_t EqBand::*field;
    } fields[] = {{"type", EqTypeCount, &EqBand::type},
                  {"freq", FreqCount, &EqBand::freq},
                  {"peakGain", EqGainCount, &EqBand::peakGain},
                  {"shelfGain", EqGainCount, &EqBand::shelfGain},
                  {"q", QCount, &EqBand::q}};
    for (const auto& f : fields) {
        const QJsonValue v = o.value(f.name);
        const double d = v.toDouble(-1);
        if (!v.isDouble() || d != static_cast<int>(d) || d < 0 || d >= f.count) {
            error = QString("a band's %1 is an index from 0 to %2").arg(f.name).arg(f.count - 1);
            return std::nullopt;
        }
        band.*f.field = static_cast<int32_t>(d);
    }
    return band;
}

QJsonObject errorJson(const QString& kind, const QString& message) {
    return {{"kind", kind}, {"message", message}};
}

QJsonObject errorJson(const UnitError& e) {
    return errorJson(QString::fromLatin1(errorKindName(e.kind)), QString::fromStdString(e.message));
}

UnitError errorFromJson(const QJsonObject& o) {
    const std::string kind = o.value("kind").toString().toStdString();
    const std::string message = o.value("message").toString().toStdString();
    for (int k = 0; k <= static_cast<int>(UnitErrorKind::Interrupted); ++k) {
        const auto candidate = static_cast<UnitErrorKind>(k);
        if (errorKindName(candidate) == kind) return {candidate, message};
    }
    return {UnitErrorKind::InvalidArgument, message};
}

QString originName(ChangeOrigin origin) {
    return origin == ChangeOrigin::Unit ? "unit" : "owner";
}

} // namespace m7410
