#include "ctl/PresetTransfers.h"

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "ctl/SlotCompare.h"
#include "presets/PresetFiles.h"
#include "protocol/Frame.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

namespace m7410 {

namespace {

// The engine's own time-outs end each exchange; these only keep a wait from outliving them.
constexpr int ReadLimitMs = 16000 + 1000;
constexpr int WriteLimitMs = PresetSlotCount * 1100 + 3000;
constexpr int SaveOneLimitMs = TimedExchanges::SaveOneReplyTimeoutMs + 1000;
constexpr int NamesLimitMs = 2000;

const std::string Damaged = "File damaged.";

// A message the engine showed since `since`; empty when none.
std::string newMessage(const ConsoleView& view, std::size_t since) {
    return view.messages.size() > since ? view.messages.back() : std::string();
}

// The engine's words for a file it refused, as one line naming the file.
std::string fileProblem(const std::string& file, const std::string& message,
                        const std::string& expected) {
    if (message == Damaged) return file + ": damaged (" + expected + "); nothing was sent";
    const std::string notRead = "File not read: ";
    if (message.starts_with(notRead)) return file + ": " + message.substr(notRead.size());
    const std::string notSaved = "File not saved: ";
    if (message.starts_with(notSaved))
        return file + ": not saved: " + message.substr(notSaved.size());
    return file + ": " + message;
}

QJsonArray namesOf(const std::vector<std::string>& records) {
    QJsonArray out;
    for (std::size_t k = 0; k < records.size(); ++k) {
        const std::optional<BlockData> block = blockDataFromText(records[k]);
        out.append(QJsonObject{{"slot", static_cast<int>(k + 1)},
                               {"name", QString::fromLatin1(block ? blockName(*block) : "")}});
    }
    return out;
}

std::string slotList(const std::vector<int>& numbers) {
    std::string out;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        out += (i ? ", " : "") + std::to_string(numbers[i]);
    return out;
}

// A file that cannot be written is known before the unit is read for it, not after.
std::string unwritable(const std::string& file) {
    const QFileInfo info(QString::fromStdString(file));
    if (info.isDir()) return file + ": is a folder";
    if (!info.absoluteDir().exists()) return file + ": the folder does not exist";
    return {};
}

// The 20-preset read; the records, or nothing when they did not all come.
std::optional<std::vector<std::string>> readPresets(CommandContext& ctx, PresetFiles& files) {
    Session& s = ctx.session();
    const int dialogs = ctx.view.saveDialogs;
    files.saveTwentyGroupsToPc();
    if (!ctx.waitUntil([&] { return ctx.view.saveDialogs > dialogs; }, ReadLimitMs))
        return std::nullopt;
    return s.collection;
}

} // namespace

int backupCommand(CommandContext& ctx, PresetFiles& files, const std::string& file) {
    Session& s = ctx.session();
    if (const std::string why = unwritable(file); !why.empty()) return ctx.fail(why);
    ctx.view.savePath = file;
    const std::size_t messages = ctx.view.messages.size();
    const std::optional<std::vector<std::string>> records = readPresets(ctx, files);
    if (!records) {
        return ctx.fail("the unit did not send all 20 presets (" +
                        std::to_string(s.collection.size()) + " arrived); " + file +
                        " was not written");
    }
    if (const std::string m = newMessage(ctx.view, messages); !m.empty())
        return ctx.fail(fileProblem(file, m, ""));
    if (ctx.json)
        ctx.printJson({{"file", QString::fromStdString(file)}, {"presets", namesOf(*records)}});
    else
        ctx.out << "backed up 20 presets to " << file << '\n';
    return ExitOk;
}

int restoreCommand(CommandContext& ctx, PresetFiles& files, const std::string& file, bool verify) {
    Session& s = ctx.session();
    ConsoleView& view = ctx.view;
    view.openPath = file;
    const std::size_t messages = view.messages.size();
    files.loadTwentyGroupsToDevice();
    if (const std::string m = newMessage(view, messages); !m.empty())
        return ctx.fail(fileProblem(file, m, "a 20-group file holds 20 lines of 664 hex digits"));
    if (!view.locked()) {
        if (s.linkOpen == 0) return ctx.fail("the link to the unit was lost");
        return ctx.fail(file + ": empty; nothing was sent");
    }
    // What went out: the file's records, with any field outside its range limited as the
    // window limits it before sending.
    const std::vector<std::string> written = s.collection;
    if (!ctx.waitUntil([&] { return !view.locked(); }, WriteLimitMs))
        return ctx.fail("the link to the unit was lost during the restore");
    QJsonObject summary{{"file", QString::fromStdString(file)},
                        {"restored", PresetSlotCount},
                        {"presets", namesOf(written)}};
    if (!verify) {
        summary.insert("verified", QJsonValue());
        if (ctx.json)
            ctx.printJson(summary);
        else
            ctx.out << "restored 20 presets, not verified\n";
        return ExitOk;
    }
    // The names reply that ends the write comes before the read-back starts.
    ctx.waitUntil([&] { return s.namesReplyDue == 0; }, NamesLimitMs);
    view.savePath.reset();
    const std::optional<std::vector<std::string>> readBack = readPresets(ctx, files);
    if (!readBack) return ctx.fail("the presets could not be read back to verify the restore");
    const std::vector<int> differing = differingSlots(written, *readBack);
    summary.insert("verified", differing.empty());
    QJsonArray differingJson;
    for (int slot : differing)
        differingJson.append(slot);
    summary.insert("differing", differingJson);
    if (ctx.json) ctx.printJson(summary);
    if (!differing.empty()) {
        return ctx.fail(std::string("restore not verified: ") +
                        (differing.size() == 1 ? "preset " : "presets ") + slotList(differing) +
                        " read back differently from " + file);
    }
    if (!ctx.json) ctx.out << "restored 20 presets, verified\n";
    return ExitOk;
}

int saveCurrentCommand(CommandContext& ctx, PresetFiles& files, const std::string& file) {
    Session& s = ctx.session();
    if (const std::string why = unwritable(file); !why.empty()) return ctx.fail(why);
    ctx.view.savePath = file;
    const std::size_t messages = ctx.view.messages.size();
    const int dialogs = ctx.view.saveDialogs;
    files.saveOneGroupToPc();
    if (!ctx.waitUntil([&] { return ctx.view.saveDialogs > dialogs; }, SaveOneLimitMs))
        return ctx.fail("the unit did not send its current set; " + file + " was not written");
    if (const std::string m = newMessage(ctx.view, messages); !m.empty())
        return ctx.fail(fileProblem(file, m, ""));
    const std::optional<BlockData> block =
        s.collection.empty() ? std::nullopt : blockDataFromText(s.collection.front());
    const std::string name = block ? blockName(*block) : std::string();
    if (ctx.json)
        ctx.printJson(
            {{"file", QString::fromStdString(file)}, {"name", QString::fromLatin1(name)}});
    else
        ctx.out << "saved the current set (" << consoleText(name) << ") to " << file << '\n';
    return ExitOk;
}

int loadCurrentCommand(CommandContext& ctx, PresetFiles& files, const std::string& file) {
    Session& s = ctx.session();
    ctx.view.openPath = file;
    const std::size_t messages = ctx.view.messages.size();
    const int lost = ctx.view.disconnectedShown;
    files.loadOneGroupToDevice();
    if (const std::string m = newMessage(ctx.view, messages); !m.empty())
        return ctx.fail(fileProblem(file, m, "a one-group file holds 664 hex digits"));
    if (s.linkOpen == 0 || ctx.view.disconnectedShown != lost)
        return ctx.fail("the link to the unit was lost during the load");
    if (s.blockText.empty()) return ctx.fail(file + ": empty; nothing was sent");
    const std::string name = consoleText(s.currentPresetName);
    if (ctx.json)
        ctx.printJson(
            {{"file", QString::fromStdString(file)}, {"name", QString::fromStdString(name)}});
    else
        ctx.out << "loaded " << file << " into the current set (" << name << ")\n";
    return ExitOk;
}

} // namespace m7410
