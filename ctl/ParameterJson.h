// Parameters as JSON for scripts: the text shown, and the number and unit where there is one.
#pragma once

#include "unit/ParameterPaths.h"

#include <QJsonArray>
#include <QJsonObject>

namespace m7410 {

struct ChannelModel;

// {"text": "49.6 Hz", "value": 49.6, "unit": "Hz"}; a choice has its text as the value.
QJsonObject readingJson(const ParameterReading& reading);
// The reading with "path" in front.
QJsonObject parameterJson(const ParameterPath& path, const ParameterReading& reading);
// Every parameter of the model, in the order of allParameterPaths.
QJsonArray allParametersJson(const ChannelModel& model);

} // namespace m7410
