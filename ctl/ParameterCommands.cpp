#include "ctl/ParameterCommands.h"

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "ctl/ParameterJson.h"
#include "support/AsciiText.h"
#include "unit/ParameterPaths.h"

#include <QJsonArray>

namespace m7410 {

namespace {

void print(CommandContext& ctx, const ParameterPath& p) {
    const ParameterReading r = readParameter(ctx.unit.model(), p);
    if (ctx.json)
        ctx.printJson(parameterJson(p, r));
    else
        ctx.out << p.path << " = " << r.text << '\n';
}

} // namespace

int getCommand(CommandContext& ctx, const std::string& selector) {
    const std::vector<const ParameterPath*> paths = selectParameterPaths(selector);
    if (paths.empty()) return ExitUsage; // checked with the command line
    if (paths.size() == 1 && paths.front()->path == lower(selector)) {
        print(ctx, *paths.front());
        return ExitOk;
    }
    // Several values are one object with --json, as every command prints one.
    if (ctx.json) {
        QJsonArray all;
        for (const ParameterPath* p : paths)
            all.append(parameterJson(*p, readParameter(ctx.unit.model(), *p)));
        ctx.printJson({{"parameters", all}});
        return ExitOk;
    }
    for (const ParameterPath* p : paths)
        print(ctx, *p);
    return ExitOk;
}

int setCommand(CommandContext& ctx, const std::string& path, const std::string& value) {
    const ParameterPath* p = findParameterPath(path);
    std::string why;
    const std::optional<int32_t> index = p ? snapParameterValue(*p, value, why) : std::nullopt;
    if (!index) return ExitUsage; // checked with the command line
    const UnitResult<Done> r = ctx.await<Done>(
        [&](UnitDone<Done> done) { ctx.unit.setParameter(*p, *index, std::move(done)); });
    if (!r) return ctx.fail(r.error());
    print(ctx, *p);
    return ExitOk;
}

int setCommands(CommandContext& ctx, const std::vector<Invocation>& sets) {
    std::vector<std::pair<const ParameterPath*, int32_t>> values;
    for (const Invocation& inv : sets) {
        const ParameterPath* p = findParameterPath(inv.path);
        std::string why;
        const std::optional<int32_t> index =
            p ? snapParameterValue(*p, inv.value, why) : std::nullopt;
        if (!index) return ExitUsage; // checked with the command line
        values.emplace_back(p, *index);
    }
    const UnitResult<Done> r = ctx.await<Done>(
        [&](UnitDone<Done> done) { ctx.unit.setParameters(values, std::move(done)); });
    if (!r) return ctx.fail(r.error());
    const bool json = ctx.json;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        ctx.json = sets[i].json;
        print(ctx, *values[i].first);
    }
    ctx.json = json;
    return ExitOk;
}

} // namespace m7410
