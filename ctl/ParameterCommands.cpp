#include "ctl/ParameterCommands.h"

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "unit/ParameterPaths.h"

#include <QJsonArray>

namespace m7410 {

namespace {

QJsonObject jsonOf(const ParameterPath& p, const ParameterReading& r) {
    QJsonObject o{{"path", QString::fromStdString(p.path)},
                  {"text", QString::fromStdString(r.text)}};
    if (r.number) {
        o.insert("value", *r.number);
        o.insert("unit", QString::fromStdString(r.unit));
    } else {
        o.insert("value", QString::fromStdString(r.text));
    }
    return o;
}

void print(CommandContext& ctx, const ParameterPath& p) {
    const ParameterReading r = readParameter(ctx.unit.model(), p);
    if (ctx.json)
        ctx.printJson(jsonOf(p, r));
    else
        ctx.out << p.path << " = " << r.text << '\n';
}

} // namespace

int getCommand(CommandContext& ctx, const std::string& path) {
    if (path != "all") {
        const ParameterPath* p = findParameterPath(path);
        if (p == nullptr) return ExitUsage; // checked with the command line
        print(ctx, *p);
        return ExitOk;
    }
    if (ctx.json) {
        QJsonArray all;
        for (const ParameterPath& p : allParameterPaths())
            all.append(jsonOf(p, readParameter(ctx.unit.model(), p)));
        ctx.printJson({{"parameters", all}});
        return ExitOk;
    }
    for (const ParameterPath& p : allParameterPaths())
        print(ctx, p);
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

} // namespace m7410
