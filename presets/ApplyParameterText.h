// Applying a preset file's record to the model and the window.
#pragma once

#include <string_view>

namespace m7410 {

class Session;

// Applies the hex text of a stored block frame (a preset file's record) to the model and the
// window: every field limited to its table, the set's name, the polarity, mute and volume
// controls and every response curve; currentChannel ends at 3 and currentBand at 23.
// No message is built meanwhile, and linkOpen is as before afterwards. A text that is not a
// group record (664 hex digits) changes nothing and gives false.
bool ApplyParameterText(Session& s, std::string_view text);

} // namespace m7410
