// show and diff on preset files, without a unit: names, every parameter, changed paths.
#include "ctl/FileCommands.h"
#include "ctl/CommandLine.h"
#include "model/ChannelModel.h"
#include "support/HexText.h"
#include "unit/ParameterPaths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace m7410::test {
namespace {

// A record as the unit sends it: only the 320 data bytes between header and checksum count.
std::string recordOf(const ChannelModel& model, const std::string& name) {
    BlockData block = encodeBlock(model, BlockData{});
    setBlockName(block, name);
    return std::string(20, '0') + toHex(block.data(), block.size()) + "00AA";
}

struct Files {
    QTemporaryDir dir;
    std::string write(const std::string& name, const std::vector<std::string>& records) {
        const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream out(path, std::ios::binary);
        for (const std::string& r : records)
            out << r << "\r\n";
        return path;
    }
};

struct Offline {
    int code = -1;
    std::string out, err;
};

Offline show(const std::string& file, bool json, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = showCommand(file, {in, out, err, json});
    return {code, out.str(), err.str()};
}

Offline diff(const std::string& a, const std::string& b, bool json, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = diffFilesCommand(a, b, {in, out, err, json});
    return {code, out.str(), err.str()};
}

QJsonObject parsed(const std::string& line) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
}

std::vector<std::string> twenty(const ChannelModel& model) {
    std::vector<std::string> records;
    for (int k = 1; k <= 20; ++k)
        records.push_back(recordOf(model, "Scene " + std::to_string(k)));
    return records;
}

} // namespace

TEST(CtlFiles, ShowPrintsTheNamesAndWithJsonEveryParameter) {
    Files files;
    const ChannelModel model;
    const std::string backup = files.write("show.m7410", twenty(model));
    Offline r = show(backup, false);
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n', r.out.find('\n') + 1) + 1),
              "20-group file, presets:\n   1 Scene 1\n");
    EXPECT_NE(r.out.find("\n  20 Scene 20\n"), std::string::npos) << r.out;

    r = show(backup, true);
    ASSERT_EQ(r.code, ExitOk);
    const QJsonObject o = parsed(r.out);
    const QJsonArray presets = o["presets"].toArray();
    ASSERT_EQ(presets.size(), 20);
    EXPECT_EQ(presets[19].toObject()["name"].toString(), "Scene 20");
    EXPECT_EQ(presets[19].toObject()["slot"].toInt(), 20);
    EXPECT_EQ(presets[0].toObject()["parameters"].toArray().size(),
              static_cast<qsizetype>(allParameterPaths().size()));

    // One group, read from standard input.
    r = show("-", false, recordOf(model, "Club") + "\r\n");
    EXPECT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(r.out, "one-group file, name: Club\n");

    // Damaged: said on standard error, and as an error object with --json.
    std::vector<std::string> records = twenty(model);
    records[6][100] = 'x';
    const std::string damaged = files.write("damaged.m7410", records);
    r = show(damaged, true);
    EXPECT_EQ(r.code, ExitFailure);
    EXPECT_EQ(r.err, "m7410-ctl: " + damaged + ": damaged (line 7 is no preset record)\n");
    EXPECT_EQ(parsed(r.out)["error"].toObject()["kind"].toString(), "file");
    EXPECT_EQ(show(files.dir.path().toStdString(), false).code, ExitFailure);
}

TEST(CtlFiles, DiffListsThePathsThatDifferWithOldAndNewValues) {
    Files files;
    ChannelModel before;
    ChannelModel after = before;
    after.outputs[2].gain = 150;
    after.band(bandAddress(1, 2)).freq = 70;
    const std::string a = files.write("a.m7410", {recordOf(before, "Club")});
    const std::string b = files.write("b.m7410", {recordOf(after, "Club 2")});
    const ParameterPath& highGain = *findParameterPath("high.gain");
    const ParameterPath& lowFreq = *findParameterPath("low.eq3.freq");
    const auto change = [](const ParameterPath& p, const ChannelModel& x, const ChannelModel& y) {
        return p.path + ": " + readParameter(x, p).text + " -> " + readParameter(y, p).text + "\n";
    };

    Offline r = diff(a, b, false);
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(r.out, "name: Club -> Club 2\n" + change(highGain, before, after) +
                         change(lowFreq, before, after));
    EXPECT_EQ(diff(a, a, false).out, "no differences\n");

    // 20 presets: only slot 3 differs; the second file comes from standard input.
    std::vector<std::string> changed = twenty(before);
    changed[2] = recordOf(after, "Scene 3");
    const std::string backup = files.write("before.m7410", twenty(before));
    std::string input;
    for (const std::string& line : changed)
        input += line + "\n";
    r = diff(backup, "-", true, input);
    ASSERT_EQ(r.code, ExitOk) << r.err;
    const QJsonObject o = parsed(r.out);
    EXPECT_FALSE(o["same"].toBool());
    const QJsonArray d = o["differences"].toArray();
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(d[0].toObject()["slot"].toInt(), 3);
    EXPECT_EQ(d[0].toObject()["path"].toString(), "high.gain");
    EXPECT_EQ(d[0].toObject()["new"].toObject()["text"].toString(),
              QString::fromStdString(readParameter(after, highGain).text));

    // A set against 20 presets is no comparison.
    r = diff(a, backup, false);
    EXPECT_EQ(r.code, ExitFailure);
    EXPECT_NE(r.err.find("cannot compare"), std::string::npos) << r.err;
    EXPECT_EQ(diff("-", "-", false).code, ExitUsage);
}

} // namespace m7410::test
