#include "CtlBench.h"

#include "eqtext/FilterImport.h"
#include "eqtext/FilterTextParser.h"

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace m7410::test {
namespace {

const std::string Data = M7410_EQTEXT_DATA;

FilterImport planFor(const std::string& file, const ChannelBands& current) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return planFilterImport(parseFilterText(text.str()), current);
}

TEST(CtlEq, DryRunPreviewsWithoutAUnitAndRefusesMoreThanSixFilters) {
    std::ostringstream out, err;
    const std::string rew = Data + "/rew-room.txt";
    const auto code =
        Ctl::withoutUnit(parseCommandLine({"eq-import", "main", rew, "--dry-run"}), out, err);
    ASSERT_EQ(code, std::optional<int>(ExitOk)) << err.str();
    const ChannelModel start;
    ChannelBands current;
    for (int row = 0; row < EqRowsPerChannel; ++row)
        current[static_cast<std::size_t>(row)] = start.band(bandAddress(MainChannelIndex, row));
    EXPECT_NE(out.str().find(importPreviewText(planFor(rew, current))), std::string::npos)
        << out.str();

    std::ostringstream out2, err2;
    const std::string many = Data + "/apo-too-many.txt";
    EXPECT_EQ(
        Ctl::withoutUnit(parseCommandLine({"eq-import", "low", many, "--dry-run"}), out2, err2),
        std::optional<int>(ExitFailure));
    EXPECT_EQ(lines(err2.str()).size(), 1u);
    EXPECT_NE(err2.str().find("filters"), std::string::npos) << err2.str();
    std::ostringstream out3, err3;
    EXPECT_EQ(
        Ctl::withoutUnit(parseCommandLine({"eq-import", "bass", many, "--dry-run"}), out3, err3),
        std::optional<int>(ExitUsage));
}

TEST(CtlEq, PreviewSaysThePreampIsNotAppliedAndWhyNoLineIsUsable) {
    std::ostringstream out, err;
    const auto code = Ctl::withoutUnit(
        parseCommandLine({"eq-import", "main", Data + "/apo-config.txt", "--dry-run"}), out, err);
    ASSERT_EQ(code, std::optional<int>(ExitOk)) << err.str();
    EXPECT_NE(out.str().find("Preamp -6.5 dB is not applied"), std::string::npos) << out.str();

    QTemporaryDir dir;
    const std::string file = dir.filePath("none.txt").toStdString();
    std::ofstream(file) << "Filter 1: ON LP Fc 80 Hz\nFilter 2: ON PK Fc 90 Hz Gain 2\n";
    std::ostringstream out2, err2;
    EXPECT_EQ(
        Ctl::withoutUnit(parseCommandLine({"eq-import", "low", file, "--dry-run"}), out2, err2),
        std::optional<int>(ExitFailure));
    EXPECT_NE(err2.str().find("line 1 skipped (filter type LP"), std::string::npos) << err2.str();
    EXPECT_NE(err2.str().find("line 2 skipped (no Q)"), std::string::npos) << err2.str();
}

TEST(CtlEq, ImportSendsTheSnappedBandsAndExportReadsThemBack) {
    CtlBench bench(Face::Hid);
    const std::string apo = Data + "/apo-config.txt";
    const FilterImport plan = planFor(apo, unitBands(bench.unit, 2));
    const CtlResult import = bench.run({"eq-import", "high", apo});
    ASSERT_EQ(import.code, ExitOk) << import.err;
    EXPECT_EQ(unitBands(bench.unit, 2), plan.bands);

    const CtlResult exported = bench.run({"eq-export", "high"});
    ASSERT_EQ(exported.code, ExitOk);
    QTemporaryDir dir;
    const std::string file = dir.filePath("high.txt").toStdString();
    std::ofstream(file) << exported.out;
    ASSERT_EQ(bench.run({"set", "high.eq1.freq", "500"}).code, ExitOk);
    ASSERT_NE(unitBands(bench.unit, 2), plan.bands);
    ASSERT_EQ(bench.run({"eq-import", "high", file}).code, ExitOk);
    EXPECT_EQ(unitBands(bench.unit, 2), plan.bands);
    EXPECT_EQ(bench.unit.malformedFrames(), 0);
}

} // namespace
} // namespace m7410::test
