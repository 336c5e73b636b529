#include "ctl/WatchCommand.h"

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "protocol/Frame.h"
#include "share/UnitClient.h"

#include <QJsonArray>

namespace m7410 {

namespace {

// Often enough that a change shows well within a tenth of a second.
constexpr int WatchSliceMs = 20;

std::string originOf(CommandContext& ctx, ChangeOrigin origin) {
    if (const auto* client = dynamic_cast<const UnitClient*>(&ctx.unit)) {
        const QString o = client->lastOrigin();
        return o.isEmpty() ? "unit" : o.toStdString();
    }
    return origin == ChangeOrigin::Unit ? "unit" : "this program";
}

UnitListener printer(CommandContext& ctx) {
    UnitListener l;
    l.linkChanged = [&ctx](bool open) {
        if (ctx.json)
            ctx.printJson({{"event", "link"}, {"open", open}});
        else
            ctx.out << "link " << (open ? "open" : "closed") << std::endl;
    };
    l.setReplaced = [&ctx](ChangeOrigin origin) {
        const std::string from = origin == ChangeOrigin::Unit ? "unit" : "this program";
        if (ctx.json)
            ctx.printJson({{"event", "set"}, {"origin", QString::fromStdString(from)}});
        else
            ctx.out << "current set replaced (" << from << ")" << std::endl;
    };
    l.parameterChanged = [&ctx](const std::string& path, ChangeOrigin origin) {
        const ParameterPath* p = findParameterPath(path);
        if (p == nullptr) return;
        const ParameterReading r = readParameter(ctx.unit.model(), *p);
        const std::string from = originOf(ctx, origin);
        if (ctx.json) {
            QJsonObject o{{"event", "parameter"},
                          {"path", QString::fromStdString(path)},
                          {"text", QString::fromStdString(r.text)},
                          {"origin", QString::fromStdString(from)}};
            // "client 3" as {"origin": "client", "client": 3}, as the owner sends it.
            if (from.starts_with("client ")) {
                o.insert("origin", "client");
                o.insert("client", std::stoi(from.substr(7)));
            }
            if (r.number) {
                o.insert("value", *r.number);
                o.insert("unit", QString::fromStdString(r.unit));
            } else {
                o.insert("value", QString::fromStdString(r.text));
            }
            ctx.printJson(o);
        } else {
            ctx.out << path << " = " << r.text << " (" << from << ")" << std::endl;
        }
    };
    l.namesChanged = [&ctx](const std::array<std::string, 20>& names) {
        if (ctx.json) {
            QJsonArray list;
            for (int k = 0; k < PresetSlotCount; ++k)
                list.append(QJsonObject{
                    {"slot", k + 1},
                    {"name", QString::fromLatin1(names[static_cast<std::size_t>(k)])}});
            ctx.printJson({{"event", "names"}, {"presets", list}});
            return;
        }
        ctx.out << "preset names:";
        for (int k = 0; k < PresetSlotCount; ++k)
            ctx.out << ' ' << k + 1 << '=' << consoleText(names[static_cast<std::size_t>(k)]);
        ctx.out << std::endl;
    };
    l.progress = [&ctx](int percent) {
        if (ctx.json)
            ctx.printJson({{"event", "progress"}, {"percent", percent}});
        else if (percent < 0)
            ctx.out << "progress: done" << std::endl;
        else
            ctx.out << "progress: " << percent << '%' << std::endl;
    };
    return l;
}

} // namespace

int watchCommand(CommandContext& ctx) {
    const int id = ctx.unit.subscribe(printer(ctx));
    const auto* client = dynamic_cast<const UnitClient*>(&ctx.unit);
    int code = ExitOk;
    while (!ctx.interrupted()) {
        ctx.unit.pumpWait(WatchSliceMs);
        if (client && !client->isOpen()) {
            code = ctx.fail(errorKindName(UnitErrorKind::LinkLost), "the program that served the unit ended");
            break;
        }
    }
    ctx.unit.unsubscribe(id);
    return code;
}

} // namespace m7410
