#include "ctl/ParameterCommands.h"

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "ctl/ParameterPaths.h"
#include "protocol/Session.h"

#include <QJsonArray>

namespace m7410 {

namespace {

// The status poll that follows the sent message; its reply shows the unit took the frame
// before it (the link is one ordered stream).
constexpr int AnswerLimitMs = 2500;

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
    const ParameterReading r = readParameter(ctx.session().model, p);
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
            all.append(jsonOf(p, readParameter(ctx.session().model, p)));
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
    Session& s = ctx.session();
    writeParameter(s.model, s.builders, *p, *index);
    ctx.view.quiet = true;
    const bool sent = s.scheduler.sendQueuedEdits();
    ctx.view.quiet = false;
    if (!sent || s.linkOpen == 0)
        return ctx.fail("the link to the unit was lost before " + p->path + " was sent");
    // A status byte other than "Bass +" on or off tells the view nothing; then the link still
    // open after the poll time-out is the answer.
    const int answers = ctx.view.statusReplies;
    const int lost = ctx.view.disconnectedShown;
    ctx.waitUntil([&] { return ctx.view.statusReplies > answers; }, AnswerLimitMs);
    if (ctx.view.disconnectedShown != lost || s.linkOpen == 0)
        return ctx.fail("no answer from the unit after " + p->path + " was sent");
    print(ctx, *p);
    return ExitOk;
}

} // namespace m7410
