#include "unit/SlotCompare.h"

#include "protocol/ParameterGroup.h"

namespace m7410 {

bool sameStoredSet(const BlockData& written, const BlockData& readBack) {
    for (const ParameterGroup& g : allParameterGroups()) {
        const std::size_t at = static_cast<std::size_t>(addressOf(g).blockOffset);
        for (std::size_t i = 0; i < GroupBytesSize; ++i) {
            if (groupByteIsField(g.kind, i) && written[at + i] != readBack[at + i]) return false;
        }
    }
    return blockName(written) == blockName(readBack);
}

std::vector<int> differingSlots(const std::vector<std::string>& written,
                                const std::vector<std::string>& readBack) {
    std::vector<int> out;
    for (std::size_t k = 0; k < written.size(); ++k) {
        const std::optional<BlockData> a = blockDataFromText(written[k]);
        const std::optional<BlockData> b =
            k < readBack.size() ? blockDataFromText(readBack[k]) : std::nullopt;
        if (!a || !b || !sameStoredSet(*a, *b)) out.push_back(static_cast<int>(k + 1));
    }
    return out;
}

} // namespace m7410
