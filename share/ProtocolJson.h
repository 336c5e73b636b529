// The shared unit's line protocol: its version and limits, and the unit API's values as JSON.
// Names and records are the unit's Latin-1 bytes, carried as the characters they stand for.
#pragma once

#include "eqtext/FilterImport.h"
#include "unit/ParameterPaths.h"
#include "unit/UnitError.h"
#include "unit/UnitEvents.h"
#include "unit/UnitStatus.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace m7410 {

struct ChannelModel;

inline constexpr int ProtocolVersion = 1;
// A request line longer than this is refused unread.
inline constexpr qsizetype RequestLineLimit = 64 * 1024;

// Error kinds of the protocol itself, beside the unit API's own (errorKindName).
inline constexpr const char* BadRequest = "bad-request";
inline constexpr const char* UnknownMethod = "unknown-method";
inline constexpr const char* RequestTooLong = "request-too-long";
inline constexpr const char* UnsupportedVersion = "unsupported-version";

// One compact JSON object and its newline.
QByteArray jsonLine(const QJsonObject& object);

QString latin1Text(const std::string& bytes);
std::string latin1Bytes(const QString& text);

QJsonObject statusJson(const UnitStatus& status);
UnitStatus statusFromJson(const QJsonObject& object);
QJsonArray recordsJson(const std::vector<std::string>& records);
std::vector<std::string> recordsFromJson(const QJsonArray& array);
QJsonObject reportJson(const RestoreReport& report);
RestoreReport reportFromJson(const QJsonObject& object);

// Every parameter's stored index by its path.
QJsonObject parametersJson(const ChannelModel& model);
void storeParameters(ChannelModel& model, const QJsonObject& parameters);
// One parameter as read: path, index, text, and number and unit for numeric values.
QJsonObject readingJson(const ChannelModel& model, const ParameterPath& path);

// A band as its stored indexes, and back with each index checked against its table.
QJsonObject bandIndexJson(const EqBand& band);
std::optional<EqBand> bandFromJson(const QJsonValue& value, QString& error);

QJsonObject errorJson(const QString& kind, const QString& message);
QJsonObject errorJson(const UnitError& error);
// A protocol kind comes back as InvalidArgument: the request was at fault.
UnitError errorFromJson(const QJsonObject& object);

QString originName(ChangeOrigin origin);

} // namespace m7410
