// The parameters two sets differ in, as paths with the value before and after.
#pragma once

#include "protocol/ParameterBlock.h"
#include "unit/ParameterPaths.h"

#include <string>
#include <vector>

namespace m7410 {

struct ParameterChange {
    std::string path; // "high.eq2.freq", or "name" for the set's name
    ParameterReading before;
    ParameterReading after;
};

// In the order of allParameterPaths, the name first. Values that read the same count as equal:
// a shelf's unused peaking gain is no difference.
std::vector<ParameterChange> parameterChanges(const BlockData& before, const BlockData& after);

} // namespace m7410
