#include "ctl/JsonOutput.h"

#include <QJsonDocument>

namespace m7410 {

void printJsonLine(std::ostream& out, const QJsonObject& object) {
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
    out.flush();
}

QJsonObject errorJson(const std::string& kind, const std::string& message) {
    return {{"error", QJsonObject{{"kind", QString::fromStdString(kind)},
                                  {"message", QString::fromStdString(message)}}}};
}

} // namespace m7410
