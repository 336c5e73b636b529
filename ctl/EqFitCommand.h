// eq-fit: a channel's six EQ bands fitted to a measurement (and a target) on the unit's tables.
#pragma once

#include <optional>
#include <ostream>

namespace m7410 {

struct CommandContext;
struct Invocation;

// What needs no unit: with --dry-run the whole command (the report, or its JSON); without it,
// the measurement and target files are read first, so a damaged one fails before the unit is
// opened. Nothing when the command goes on to the unit.
std::optional<int> eqFitWithoutUnit(const Invocation& invocation, std::ostream& out,
                                    std::ostream& err);

// The fit with the unit's own bands (kept bands, the fields a fit leaves), the report, then the
// six bands into the channel as eq-import puts them. Exit code.
int eqFitCommand(CommandContext& ctx, const Invocation& invocation);

} // namespace m7410
