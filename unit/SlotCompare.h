// Comparing preset records written to the unit with the records it gives back.
#pragma once

#include "protocol/ParameterBlock.h"

#include <string>
#include <vector>

namespace m7410 {

// Equal in every byte the unit reads: the fields of the 35 parameter groups and the name up
// to its end. The bytes between the fields and the 20 bytes before the name are the unit's
// own and may come back other than they went.
bool sameStoredSet(const BlockData& written, const BlockData& readBack);

// The slots (1..n) whose record read back differs from the one written; a record that is
// missing or no block at all differs too.
std::vector<int> differingSlots(const std::vector<std::string>& written,
                                const std::vector<std::string>& readBack);

} // namespace m7410
