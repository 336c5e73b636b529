// watch: the unit's changes printed as they come, as text or one JSON object a line.
#pragma once

namespace m7410 {

struct CommandContext;

// Until a stop signal (exit 0) or until the program serving the unit ends (exit 1).
int watchCommand(CommandContext& ctx);

} // namespace m7410
