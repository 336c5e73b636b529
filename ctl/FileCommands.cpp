#include "ctl/FileCommands.h"

#include "ctl/CommandLine.h"
#include "ctl/JsonOutput.h"
#include "ctl/ParameterDiff.h"
#include "ctl/ParameterJson.h"
#include "ctl/StandardStreams.h"
#include "model/ChannelModel.h"

#include <QJsonArray>
#include <QString>

namespace m7410 {

namespace {

int failed(OfflineIo& io, const std::string& kind, const std::string& message) {
    io.err << "m7410-ctl: " << message << '\n';
    io.err.flush();
    if (io.json) printJsonLine(io.out, errorJson(kind, message));
    return ExitFailure;
}

QString nameOf(const BlockData& set) {
    return QString::fromLatin1(blockName(set));
}

const char* kindName(const PresetFileContents& c) {
    return c.twentyGroups ? "20-group" : "one-group";
}

QJsonObject setJson(const BlockData& set) {
    ChannelModel model;
    decodeBlock(set, model);
    return {{"name", nameOf(set)}, {"parameters", allParametersJson(model)}};
}

std::string slotText(int slot) {
    return (slot < 10 ? "   " : "  ") + std::to_string(slot);
}

} // namespace

int showCommand(const std::string& file, OfflineIo io) {
    std::string error;
    const std::optional<PresetFileContents> c = readPresetFileContents(file, io.in, error);
    if (!c) return failed(io, ErrorKind::File, error);
    if (io.json) {
        QJsonObject o{{"file", QString::fromStdString(file)}, {"kind", kindName(*c)}};
        if (c->twentyGroups) {
            QJsonArray presets;
            for (std::size_t k = 0; k < c->sets.size(); ++k) {
                QJsonObject p = setJson(c->sets[k]);
                p.insert("slot", static_cast<int>(k + 1));
                presets.append(p);
            }
            o.insert("presets", presets);
        } else {
            o.insert("set", setJson(c->sets.front()));
        }
        printJsonLine(io.out, o);
        return ExitOk;
    }
    if (!c->twentyGroups) {
        io.out << "one-group file, name: " << nameOf(c->sets.front()).toStdString() << '\n';
        return ExitOk;
    }
    io.out << "20-group file, presets:\n";
    for (std::size_t k = 0; k < c->sets.size(); ++k)
        io.out << slotText(static_cast<int>(k + 1)) << ' ' << nameOf(c->sets[k]).toStdString()
               << '\n';
    return ExitOk;
}

int printDifferences(const PresetFileContents& before, const PresetFileContents& after,
                     const std::string& beforeLabel, const std::string& afterLabel, OfflineIo io) {
    if (before.twentyGroups != after.twentyGroups)
        return failed(io, ErrorKind::File,
                      "cannot compare " + beforeLabel + " (" + kindName(before) + ") with " +
                          afterLabel + " (" + kindName(after) + ")");
    QJsonArray all;
    int count = 0;
    for (std::size_t k = 0; k < before.sets.size(); ++k) {
        const int slot = static_cast<int>(k + 1);
        for (const ParameterChange& c : parameterChanges(before.sets[k], after.sets[k])) {
            ++count;
            if (io.json) {
                QJsonObject o{{"path", QString::fromStdString(c.path)},
                              {"old", readingJson(c.before)},
                              {"new", readingJson(c.after)}};
                if (before.twentyGroups) o.insert("slot", slot);
                all.append(o);
                continue;
            }
            if (before.twentyGroups) io.out << "preset " << slot << ' ';
            io.out << c.path << ": " << c.before.text << " -> " << c.after.text << '\n';
        }
    }
    if (io.json) {
        printJsonLine(io.out, {{"old", QString::fromStdString(beforeLabel)},
                               {"new", QString::fromStdString(afterLabel)},
                               {"same", count == 0},
                               {"differences", all}});
    } else if (count == 0) {
        io.out << "no differences\n";
    }
    return ExitOk;
}

int diffFilesCommand(const std::string& a, const std::string& b, OfflineIo io) {
    if (isStandardStream(a) && isStandardStream(b)) {
        failed(io, ErrorKind::Usage, "only one of the two files can be standard input");
        return ExitUsage;
    }
    std::string error;
    const std::optional<PresetFileContents> before = readPresetFileContents(a, io.in, error);
    if (!before) return failed(io, ErrorKind::File, error);
    const std::optional<PresetFileContents> after = readPresetFileContents(b, io.in, error);
    if (!after) return failed(io, ErrorKind::File, error);
    return printDifferences(*before, *after, a, b, io);
}

} // namespace m7410
