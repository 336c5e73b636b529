#include "presets/ApplyParameterText.h"

#include "presets/PresetFileReader.h"
#include "protocol/ApplySet.h"
#include "protocol/Session.h"

namespace m7410 {

bool ApplyParameterText(Session& s, std::string_view text) {
    if (!isGroupRecord(text)) return false;
    const std::optional<BlockData> block = blockDataFromText(text);
    if (!block) return false;
    // Controls set from the model must not echo the set back to the unit as edits. The flag
    // is restored rather than set, so a link that closed just before stays closed.
    const int32_t wasOpen = s.linkOpen();
    s.linkOpen() = 0;
    applyBlockToSession(s, *block);
    s.linkOpen() = wasOpen;
    return true;
}

} // namespace m7410
