// "Fit to measurement..." (issue 26): the preview of the fitted bands and Apply as one step.
#include "WindowFixture.h"

#include "editing/EditHistory.h"
#include "editing/EditMenu.h"
#include "editing/EqFitDialog.h"
#include "app/TopGroup.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/EqPage.h"
#include "panels/FilteredField.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace m7410::test {
namespace {

const QString Room = QStringLiteral(M7410_FIT_DATA "/room.txt");

class EqFitFlowTest : public WindowFixture {
protected:
    MainWindow& connect() {
        MainWindow& w = openWindow();
        clock.runDue();
        QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
        clock.advance(3000);
        EXPECT_EQ(w.session().linkOpen(), 1);
        QTest::mouseClick(w.channelGroup()->pageButton(PageEq, 2), Qt::LeftButton);
        return w;
    }
    ChannelBands bandsOf(int channel) {
        ChannelBands out;
        for (int row = 0; row < EqRowsPerChannel; ++row)
            out[row] = window->session().model().band(bandAddress(channel, row));
        return out;
    }
    bool unitMatchesModel() {
        const BlockData& set = demo.unit().currentSet();
        return encodeBlock(window->session().model(), set) == set &&
               demo.unit().malformedFrames() == 0;
    }
    void sendAll() { clock.advance(8 * 510 + 1000); }
    EditMenu& menu() { return window->editMenu(); }
    void choose(QAction* item) {
        menu().update();
        item->trigger();
    }
    int previews = 0;
};

int pixelsOf(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

TEST_F(EqFitFlowTest, ApplyPutsTheFittedBandsInTheChannelAsOneStep) {
    MainWindow& w = connect();
    const ChannelBands before = bandsOf(2);
    dialogs.nextOpen = Room;
    ChannelBands proposed{};
    menu().runFitPreview = [&](EqFitDialog& preview) {
        ++previews;
        EXPECT_TRUE(preview.fit().error.empty());
        preview.fromField()->setValue(20);
        preview.toField()->setValue(400);
        preview.fitButton()->click();
        FitOptions o;
        o.fromHz = 20;
        o.toHz = 400;
        const EqFit expected = fitChannel(readResponseFile(Room.toStdString()), {}, before, o);
        EXPECT_EQ(preview.fit().bands, expected.bands);
        EXPECT_EQ(preview.table()->rowCount(), EqRowsPerChannel);
        EXPECT_TRUE(preview.figuresLabel()->text().contains("with fit then round"));
        EXPECT_TRUE(preview.figuresLabel()->text().contains("with the table search"));
        EXPECT_GT(pixelsOf(preview.picture(), EqFitDialog::MeasurementColour), 200);
        EXPECT_GT(pixelsOf(preview.picture(), EqFitDialog::PredictedColour), 200);
        EXPECT_GT(pixelsOf(preview.picture(), EqFitDialog::TargetColour), 200);
        proposed = preview.fit().bands;
        return true;
    };
    choose(menu().fitAction());
    ASSERT_EQ(previews, 1);
    EXPECT_EQ(bandsOf(2), proposed);
    EXPECT_EQ(menu().history().stack().count(), 1);
    menu().update();
    EXPECT_EQ(menu().undoAction()->text().section('\t', 0, 0), "Undo High EQ fit");
    sendAll();
    EXPECT_TRUE(unitMatchesModel());

    // The page's own button opens the same preview.
    menu().runFitPreview = [&](EqFitDialog&) { return ++previews, false; };
    w.eqPage()->fitButton()->click();
    EXPECT_EQ(previews, 2);

    menu().undoAction()->trigger();
    EXPECT_EQ(bandsOf(2), before);
    sendAll();
    EXPECT_TRUE(unitMatchesModel());
}

TEST_F(EqFitFlowTest, DamagedMeasurementsAndCancelChangeNothing) {
    MainWindow& w = connect();
    sendAll();
    const ChannelModel before = w.session().model();
    const BlockData unitBefore = demo.unit().currentSet();
    menu().runFitPreview = [&](EqFitDialog&) { return ++previews, false; };
    dialogs.nextOpen = Room;
    choose(menu().fitAction());
    EXPECT_EQ(previews, 1);

    const std::pair<const char*, const char*> damaged[] = {
        {"text.txt", "* c\nHz dB\n20 80\n30 eighty\n"},
        {"nan.frd", "20 80\n30 nan\n"},
        {"zero.csv", "Hz,dB\n20,80\n0,81\n"},
        {"level.frd", "20 80\n30\n"}};
    for (const auto& [name, content] : damaged) {
        QFile f(programFile(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        dialogs.nextOpen = f.fileName();
        choose(menu().fitAction());
    }
    dialogs.nextOpen = programFile("missing.txt");
    choose(menu().fitAction());
    EXPECT_EQ(previews, 1) << "refused before any preview";
    ASSERT_EQ(dialogs.errors.size(), 5u);
    EXPECT_TRUE(dialogs.errors[0].endsWith("text.txt: line 4: 'eighty' is not a number"))
        << dialogs.errors[0].toStdString();
    EXPECT_TRUE(dialogs.errors[4].endsWith("missing.txt: no such file"));

    // Too few points in the range: the preview says so and offers no Apply.
    QFile few(programFile("few.frd"));
    ASSERT_TRUE(few.open(QIODevice::WriteOnly));
    for (int k = 0; k < 9; ++k)
        few.write(QByteArray::number(100 + 10 * k) + " 80\n");
    few.close();
    dialogs.nextOpen = few.fileName();
    menu().runFitPreview = [&](EqFitDialog& preview) {
        ++previews;
        EXPECT_FALSE(preview.applyButton()->isEnabled());
        EXPECT_TRUE(preview.figuresLabel()->text().startsWith("only 9 points"));
        return true;
    };
    choose(menu().fitAction());
    EXPECT_EQ(previews, 2);

    QCoreApplication::processEvents();
    EXPECT_EQ(w.session().model(), before);
    EXPECT_EQ(menu().history().stack().count(), 0);
    sendAll();
    EXPECT_EQ(demo.unit().currentSet(), unitBefore);
}

} // namespace
} // namespace m7410::test
