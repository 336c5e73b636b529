// EQ imports and exports as JSON: requested and snapped filters, skipped lines, the bands.
#pragma once

#include "eqtext/FilterImport.h"

#include <QJsonArray>
#include <QJsonObject>

namespace m7410 {

// {"type": "PEQ", "freq": 1000, "gain": -3.4, "q": 2.2}; shelves have no "q".
QJsonObject bandJson(const EqBand& band);
QJsonArray bandsJson(const ChannelBands& bands);
// The preview of an import: "filters" (each "requested" and "unit"), "skipped" lines with
// their reasons, "preamp" with whether it is applied, and "largestDifference".
QJsonObject importPlanJson(const FilterText& text, const FilterImport& plan);

} // namespace m7410
