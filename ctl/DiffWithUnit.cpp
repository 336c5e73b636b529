#include "ctl/DiffWithUnit.h"

#include "ctl/CommandContext.h"
#include "ctl/FileCommands.h"
#include "ctl/JsonOutput.h"
#include "model/ChannelModel.h"

namespace m7410 {

int diffWithUnitCommand(CommandContext& ctx, const std::string& file) {
    std::string error;
    const std::optional<PresetFileContents> before = readPresetFileContents(file, ctx.in, error);
    if (!before) return ctx.fail(ErrorKind::File, error);
    PresetFileContents unit;
    unit.twentyGroups = before->twentyGroups;
    if (!before->twentyGroups) {
        // The set in force as the unit last sent it, or as this program changed it since.
        BlockData set = encodeBlock(ctx.unit.model(), BlockData{});
        setBlockName(set, ctx.unit.status().currentName);
        unit.sets.push_back(set);
    } else {
        const UnitResult<std::vector<std::string>> r =
            ctx.await<std::vector<std::string>>([&](UnitDone<std::vector<std::string>> done) {
                ctx.unit.readPresets(std::move(done));
            });
        if (!r) return ctx.fail(r.error());
        const std::optional<PresetFileContents> read = presetFileContents(r.value(), error);
        if (!read) return ctx.fail(ErrorKind::Unit, "the unit's presets: " + error);
        unit = *read;
    }
    return printDifferences(*before, unit, file, "the unit", {ctx.in, ctx.out, ctx.err, ctx.json});
}

} // namespace m7410
