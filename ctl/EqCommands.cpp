#include "ctl/EqCommands.h"

#include "ctl/CommandContext.h"
#include "ctl/CommandLine.h"
#include "ctl/EqJson.h"
#include "ctl/JsonOutput.h"
#include "ctl/StandardStreams.h"
#include "eqtext/FilterImport.h"
#include "eqtext/FilterTextParser.h"
#include "eqtext/FilterTextWriter.h"
#include "model/ChannelModel.h"
#include "unit/ParameterPaths.h"

#include <QFile>
#include <QFileInfo>

namespace m7410 {

namespace {

// Far more than any filter text; a larger file is not one.
constexpr qint64 LargestFilterText = 1 << 20;

const char* const Captions[ChannelCount] = {"Middle", "Low", "High", "Main"};

// The filters of a plain file of bounded size, or of standard input; nothing, with the
// reason, otherwise.
std::optional<FilterText> readFilterFile(const std::string& file, std::istream& standardInput,
                                         std::string& error) {
    QByteArray bytes;
    if (isStandardStream(file)) {
        const std::optional<std::string> text =
            readBounded(standardInput, static_cast<std::size_t>(LargestFilterText), error);
        if (!text) {
            error = "standard input: " + error;
            return std::nullopt;
        }
        bytes = QByteArray::fromStdString(*text);
    } else {
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
        bytes = in.readAll();
    }
    return parseFilterText(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

ChannelBands bandsOf(const ChannelModel& model, int channel) {
    ChannelBands bands;
    for (int row = 0; row < EqRowsPerChannel; ++row)
        bands[static_cast<std::size_t>(row)] = model.band(bandAddress(channel, row));
    return bands;
}

std::string channelName(int channel) {
    for (const std::string& name : channelNames())
        if (channelIndexOf(name) == channel) return name;
    return {};
}

struct Preview {
    FilterText text;
    FilterImport plan;
};

// Plans the import; without json prints the preview. Nothing, with the reason, when the file
// cannot be imported.
std::optional<Preview> preview(int channel, const std::string& file, const ChannelBands& current,
                               std::istream& in, std::ostream& out, bool json, std::string& error) {
    std::optional<FilterText> text = readFilterFile(file, in, error);
    if (!text) return std::nullopt;
    FilterImport plan = planFilterImport(*text, current);
    if (!plan.error.empty()) {
        error = (isStandardStream(file) ? "standard input" : file) + ": " + plan.error;
        return std::nullopt;
    }
    if (!json) {
        out << Captions[channel] << " EQ from " << file << ":\n";
        if (const std::optional<std::string> note = preampNote(*text)) out << *note << '\n';
        for (const SkippedLine& s : text->skipped)
            out << skippedLineText(s) << '\n';
        out << importPreviewText(plan);
    }
    return Preview{std::move(*text), std::move(plan)};
}

QJsonObject previewJson(int channel, const std::string& file, const Preview& p, bool applied) {
    QJsonObject o = importPlanJson(p.text, p.plan);
    o.insert("channel", QString::fromStdString(channelName(channel)));
    o.insert("file", QString::fromStdString(file));
    o.insert("applied", applied);
    return o;
}

} // namespace

int eqPreviewCommand(int channel, const std::string& file, OfflineIo io) {
    // Rows without a filter keep what the unit holds, which only matters when applying.
    const ChannelModel start;
    std::string error;
    const std::optional<Preview> p =
        preview(channel, file, bandsOf(start, channel), io.in, io.out, io.json, error);
    if (!p) {
        io.err << "m7410-ctl: " << error << '\n';
        if (io.json) printJsonLine(io.out, errorJson(ErrorKind::File, error));
        return ExitFailure;
    }
    if (io.json) printJsonLine(io.out, previewJson(channel, file, *p, false));
    return ExitOk;
}

int eqImportCommand(CommandContext& ctx, int channel, const std::string& file, std::istream& in) {
    std::string error;
    const std::optional<Preview> p =
        preview(channel, file, bandsOf(ctx.unit.model(), channel), in, ctx.out, ctx.json, error);
    if (!p) return ctx.fail(ErrorKind::File, error);
    const UnitResult<Done> r = ctx.await<Done>(
        [&](UnitDone<Done> done) { ctx.unit.applyEq(channel, p->plan.bands, std::move(done)); });
    if (!r)
        return ctx.fail(errorKindName(r.error().kind), r.error().message,
                        previewJson(channel, file, *p, false));
    if (ctx.json)
        ctx.printJson(previewJson(channel, file, *p, true));
    else
        ctx.out << "applied to the " << Captions[channel] << " EQ\n";
    return ExitOk;
}

int eqExportCommand(CommandContext& ctx, int channel) {
    const ChannelBands bands = bandsOf(ctx.unit.model(), channel);
    const std::string text = writeFilterText(Captions[channel], bands);
    if (ctx.json)
        ctx.printJson({{"channel", QString::fromStdString(channelName(channel))},
                       {"bands", bandsJson(bands)},
                       {"text", QString::fromStdString(text)}});
    else
        ctx.out << text;
    return ExitOk;
}

int applyChannelBands(CommandContext& ctx, int channel, const ChannelBands& bands) {
    const UnitResult<Done> r = ctx.await<Done>(
        [&](UnitDone<Done> done) { ctx.unit.applyEq(channel, bands, std::move(done)); });
    if (!r) return ctx.fail(r.error());
    return ExitOk;
}

ChannelBands channelBands(CommandContext& ctx, int channel) {
    return bandsOf(ctx.unit.model(), channel);
}

const char* channelCaption(int channel) { return Captions[channel]; }

} // namespace m7410
