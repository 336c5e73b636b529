#include "ctl/EqCommands.h"

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "eqtext/FilterImport.h"
#include "eqtext/FilterTextParser.h"
#include "eqtext/FilterTextWriter.h"
#include "protocol/Session.h"

#include <QFile>
#include <QFileInfo>

namespace m7410 {

namespace {

// Far more than any filter text; a larger file is not one.
constexpr qint64 LargestFilterText = 1 << 20;
// The status poll after the six band messages; see set.
constexpr int AnswerLimitMs = 2500;

const char* const Captions[ChannelCount] = {"Middle", "Low", "High", "Main"};

// The filters of a plain file of bounded size; nothing, with the reason, otherwise.
std::optional<FilterText> readFilterFile(const std::string& file, std::string& error) {
    const QString path = QString::fromStdString(file);
    // A pipe or a device would be waited on, not read.
    if (QFileInfo info(path); info.exists() && !info.isFile()) {
        error = file + ": not a plain file";
        return std::nullopt;
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        error = file + ": " + in.errorString().toStdString();
        return std::nullopt;
    }
    if (in.size() > LargestFilterText) {
        error = file + ": too large for a filter text";
        return std::nullopt;
    }
    const QByteArray bytes = in.readAll();
    return parseFilterText(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

ChannelBands bandsOf(const ChannelModel& model, int channel) {
    ChannelBands bands;
    for (int row = 0; row < EqRowsPerChannel; ++row)
        bands[static_cast<std::size_t>(row)] = model.band(bandAddress(channel, row));
    return bands;
}

// Plans the import and prints the preview; nothing when the file cannot be imported.
std::optional<FilterImport> preview(int channel, const std::string& file,
                                    const ChannelBands& current, std::ostream& out,
                                    std::ostream& err) {
    std::string error;
    const std::optional<FilterText> text = readFilterFile(file, error);
    if (!text) {
        err << "m7410-ctl: " << error << '\n';
        return std::nullopt;
    }
    FilterImport plan = planFilterImport(*text, current);
    if (!plan.error.empty()) {
        err << "m7410-ctl: " << file << ": " << plan.error << '\n';
        return std::nullopt;
    }
    out << Captions[channel] << " EQ from " << file << ":\n";
    for (const SkippedLine& s : text->skipped)
        out << "line " << s.line << " skipped (" << s.reason << "): " << s.text << '\n';
    out << importPreviewText(plan);
    return plan;
}

} // namespace

int eqPreviewCommand(int channel, const std::string& file, std::ostream& out, std::ostream& err) {
    // Rows without a filter keep what the unit holds, which only matters when applying.
    const ChannelModel start;
    return preview(channel, file, bandsOf(start, channel), out, err) ? ExitOk : ExitFailure;
}

const char* channelCaption(int channel) {
    return Captions[channel];
}

ChannelBands channelBands(CommandContext& ctx, int channel) {
    return bandsOf(ctx.session().model, channel);
}

int applyChannelBands(CommandContext& ctx, int channel, const ChannelBands& bands) {
    Session& s = ctx.session();
    // As the window's Apply: every band into the model, then each band's message.
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const int band = bandAddress(channel, row);
        s.model.band(band) = bands[static_cast<std::size_t>(row)];
        s.builders.QueueEqBandMessage(band);
    }
    ctx.view.quiet = true;
    const bool sent = s.scheduler.sendQueuedEdits();
    ctx.view.quiet = false;
    const int answers = ctx.view.statusReplies;
    const int lost = ctx.view.disconnectedShown;
    if (sent) ctx.waitUntil([&] { return ctx.view.statusReplies > answers; }, AnswerLimitMs);
    if (!sent || s.linkOpen == 0 || ctx.view.disconnectedShown != lost)
        return ctx.fail("the link to the unit was lost before the bands were sent");
    return ExitOk;
}

int eqImportCommand(CommandContext& ctx, int channel, const std::string& file) {
    const std::optional<FilterImport> plan =
        preview(channel, file, channelBands(ctx, channel), ctx.out, ctx.err);
    if (!plan) return ExitFailure;
    if (const int code = applyChannelBands(ctx, channel, plan->bands); code != ExitOk) return code;
    ctx.out << "applied to the " << Captions[channel] << " EQ\n";
    return ExitOk;
}

int eqExportCommand(CommandContext& ctx, int channel) {
    ctx.out << writeFilterText(Captions[channel], bandsOf(ctx.session().model, channel));
    return ExitOk;
}

} // namespace m7410
