// Under a decimal-comma locale every value is still shown with a point, and what is shown reads
// back as the value it shows.
#include "common/CommaLocale.h"
#include "model/DisplayFormats.h"
#include "model/MainChannel.h"
#include "model/NearestIndex.h"
#include "model/OutputChannel.h"
#include "model/ValueTables.h"
#include "panels/DecimalText.h"

#include <gtest/gtest.h>

#include <vector>

namespace m7410::test {
namespace {

// Every text any display format can produce, in one list.
std::vector<std::string> everyDisplayedText() {
    std::vector<std::string> all;
    for (int i = 0; i < FreqCount; ++i)
        all.push_back(formatFrequency(i));
    for (int i = 0; i < QCount; ++i)
        all.push_back(formatQ(i));
    for (int i = 0; i < EqGainCount; ++i)
        all.push_back(formatEqGain(i));
    for (int i = 0; i < OutputGainCount; ++i)
        all.push_back(formatOutputGain(i));
    for (int v = 0; v <= VolumeMax; ++v)
        all.push_back(formatVolume(v));
    for (int s = 0; s <= OutputDelayMax; ++s) {
        const DelayTexts t = formatDelay(s);
        all.insert(all.end(), {t.ms, t.metres, t.feet});
    }
    all.push_back(formatDb(-0.04));
    return all;
}

TEST(CommaLocale, EveryDisplayFormatKeepsItsPointAndTableValuesReadBack) {
    const std::vector<std::string> inC = everyDisplayedText();
    for (const char* name : CommaLocales) {
        const CommaLocale locale(name);
        ASSERT_TRUE(locale.active()) << name << " is missing: run scripts/install-deps";
        EXPECT_EQ(everyDisplayedText(), inC) << name;
        const struct {
            const double* values;
            int count;
            std::string (*format)(int32_t);
        } tables[] = {{FreqTable.data(), FreqCount, formatFrequency},
                      {QTable.data(), QCount, formatQ},
                      {EqGainTable.data(), EqGainCount, formatEqGain}};
        for (const auto& t : tables) {
            for (int i = 0; i < t.count; ++i) {
                const std::string text = t.format(i);
                const std::optional<double> read = parseDecimalText(QString::fromStdString(text));
                ASSERT_TRUE(read) << name << " " << text;
                EXPECT_EQ(nearestIndex(t.values, t.count, *read), i) << name << " " << text;
            }
        }
    }
}

} // namespace
} // namespace m7410::test
