// A session under a decimal-comma locale: the unit gets the value typed with a point, the window
// shows points, and every file it writes is byte for byte what a C-locale session writes.
#include "WindowFixture.h"

#include "app/FileBox.h"
#include "app/PersonalSettingsBox.h"
#include "app/TopGroup.h"
#include "common/CommaLocale.h"
#include "model/ValueTables.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/EqPage.h"
#include "panels/FilteredField.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace m7410::test {
namespace {

class CommaLocaleFlowTest : public WindowFixture {
protected:
    struct Written {
        QByteArray oneGroup;
        QByteArray twentyGroups;
        QByteArray settings;
    };

    QByteArray readFile(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return f.readAll();
    }

    // Connects, types 1.5 dB into the first EQ gain, saves both preset files and the settings.
    Written session(const char* tag) {
        writeSettings("[Personal settings]\r\n; the caption\r\nName=M_7410\r\nChannel mode=3\r\n");
        MainWindow& w = openWindow();
        clock.runDue();
        QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
        clock.advance(3000);
        EXPECT_EQ(w.session().linkOpen(), 1);

        QTest::mouseClick(w.channelGroup()->pageButton(PageEq, 2), Qt::LeftButton);
        FilteredField* gain = w.eqPage()->row(0).gain;
        gain->setFocus();
        gain->selectAll();
        QTest::keyClicks(gain, "1.5");
        QTest::keyClick(gain, Qt::Key_Return);
        clock.advance(2000);

        const QString prefix = programFile(tag);
        dialogs.nextSave = prefix + "-one";
        QTest::mouseClick(w.fileBox()->button(FileBox::SaveOne), Qt::LeftButton);
        clock.advance(2000);
        dialogs.nextSave = prefix + "-twenty";
        QTest::mouseClick(w.fileBox()->button(FileBox::SaveTwenty), Qt::LeftButton);
        clock.advance(30000);

        PersonalSettingsBox* box = w.settingsBox();
        box->show();
        box->versionField()->setText("1.5");
        box->chooseMode(2);
        QTest::mouseClick(box->saveButton(), Qt::LeftButton);
        return {readFile(prefix + "-one"), readFile(prefix + "-twenty"), readSettings()};
    }

    // No shown number has a decimal comma.
    void expectPointsOnly(const char* locale) {
        const QRegularExpression comma(QStringLiteral("\\d,\\d"));
        QStringList shown;
        for (QLineEdit* e : window->findChildren<QLineEdit*>())
            shown << e->text();
        for (QLabel* l : window->findChildren<QLabel*>())
            shown << l->text();
        EXPECT_GT(shown.filter(QStringLiteral(".")).size(), 5) << "fields with decimals are shown";
        EXPECT_TRUE(shown.filter(comma).isEmpty())
            << locale << ": " << shown.filter(comma).join(" | ").toStdString();
    }
};

TEST_F(CommaLocaleFlowTest, TheUnitGetsTheTypedValueAndFilesMatchACLocaleSession) {
    const Written inC = session("c");
    ASSERT_EQ(inC.oneGroup.size(), 666);
    ASSERT_EQ(inC.twentyGroups.size(), 20 * 666);
    for (const char* name : CommaLocales) {
        demo.unit().setCurrentSet(demo.unit().preset(1));
        const CommaLocale locale(name);
        ASSERT_TRUE(locale.active()) << name << " is missing: run scripts/install-deps";
        const Written inComma = session(name);

        const BlockData& set = demo.unit().currentSet();
        ChannelModel unit;
        decodeBlock(set, unit);
        const double sent = EqGainTable.at(unit.band(bandAddress(2, 0)).peakGain);
        EXPECT_TRUE(sent == 1.4 || sent == 1.6) << name << " sent " << sent << " dB";
        EXPECT_EQ(window->eqPage()->row(0).gain->text().toStdString(), sent == 1.4 ? "1.4" : "1.6");
        window->pages().openPage(PageDelay, 2);
        expectPointsOnly(name);

        EXPECT_EQ(inComma.oneGroup, inC.oneGroup) << name;
        EXPECT_EQ(inComma.twentyGroups, inC.twentyGroups) << name;
        EXPECT_EQ(inComma.settings, inC.settings) << name;
        EXPECT_EQ(demo.unit().malformedFrames(), 0);
    }
}

} // namespace
} // namespace m7410::test
