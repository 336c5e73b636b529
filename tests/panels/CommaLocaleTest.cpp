// Under a decimal-comma locale every value is still shown with a point and typed values are
// read with a point, so what the user sees, types and sends agrees.
#include "PanelFixture.h"

#include "common/CommaLocale.h"
#include "model/DisplayFormats.h"
#include "model/NearestIndex.h"
#include "model/ValueTables.h"
#include "panels/DecimalText.h"
#include "panels/EqEditor.h"
#include "panels/FilteredField.h"
#include "response/ResponseGraph.h"

#include <QLabel>
#include <QSlider>

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

class CommaLocaleFieldsTest : public PanelFixture {
protected:
    static void typeInto(FilteredField* f, const char* keys) {
        f->setFocus();
        f->selectAll();
        QTest::keyClicks(f, keys);
        QTest::keyClick(f, Qt::Key_Return);
    }
    ResponseGraph graph{model};
    EqEditor editor{ctx, *eq, graph};
};

TEST_F(CommaLocaleFieldsTest, FieldsShowAndTakeAPoint) {
    for (const char* name : CommaLocales) {
        const CommaLocale locale(name);
        ASSERT_TRUE(locale.active()) << name << " is missing: run scripts/install-deps";
        pages->openPage(PageEq, 2);
        typeInto(eq->row(0).gain, "1.5");
        const EqBand& b = model.band(bandAddress(2, 0));
        EXPECT_EQ(b.peakGain, nearestIndex(EqGainTable, 1.5)) << name;
        EXPECT_EQ(eq->row(0).gain->text(), QString::fromStdString(formatEqGain(b.peakGain)));
        EXPECT_TRUE(eq->row(0).gain->text() == "1.4" || eq->row(0).gain->text() == "1.6");
        typeInto(eq->row(1).freq, "62.5");
        EXPECT_LT(FreqTable.at(model.band(bandAddress(2, 1)).freq), 63.0) << name;
        typeInto(eq->row(1).q, "1.15");
        EXPECT_EQ(eq->row(1).q->text(), "1.2") << name;

        // The shown gain edited in place, as a user changes one digit.
        pages->openPage(PageGain, 0);
        model.outputs[0].gain = 120;
        gain->fill(0);
        FilteredField* g = gain->gainField();
        ASSERT_EQ(g->text(), "-8.0 dB") << name;
        g->setFocus();
        QTest::keyClick(g, Qt::Key_End);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(g, Qt::Key_Backspace);
        QTest::keyClicks(g, "5");
        QTest::keyClick(g, Qt::Key_Return);
        EXPECT_EQ(g->text(), "-8.5 dB") << name;
        EXPECT_EQ(model.outputs[0].gain, 115) << name;

        pages->openPage(PageDelay, 0);
        delay->slider()->setValue(50);
        EXPECT_EQ(delay->delayField()->text(), "1.050 Ms") << name;
        rows->volumeSlider()->setValue(1);
        EXPECT_EQ(rows->volumeLabel()->text(), "-60.0 dB") << name;
        rows->volumeSlider()->setValue(VolumeMax);
    }
}

} // namespace
} // namespace m7410::test
