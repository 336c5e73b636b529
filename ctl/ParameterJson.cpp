#include "ctl/ParameterJson.h"

namespace m7410 {

QJsonObject readingJson(const ParameterReading& r) {
    QJsonObject o{{"text", QString::fromStdString(r.text)}};
    if (r.number) {
        o.insert("value", *r.number);
        o.insert("unit", QString::fromStdString(r.unit));
    } else {
        o.insert("value", QString::fromStdString(r.text));
    }
    return o;
}

QJsonObject parameterJson(const ParameterPath& p, const ParameterReading& r) {
    QJsonObject o = readingJson(r);
    o.insert("path", QString::fromStdString(p.path));
    return o;
}

QJsonArray allParametersJson(const ChannelModel& model) {
    QJsonArray all;
    for (const ParameterPath& p : allParameterPaths())
        all.append(parameterJson(p, readParameter(model, p)));
    return all;
}

} // namespace m7410
