// "Fit to measurement..." (issue 26): the preview of the fitted bands, kept bands, the fit on a
// worker thread, Apply as one step and the measurement left on the graph.
#include "WindowFixture.h"

#include "editing/EditHistory.h"
#include "editing/EditMenu.h"
#include "editing/EqFitDialog.h"
#include "editing/MeasurementOverlay.h"
#include "panels/ChannelGroup.h"
#include "panels/EqPage.h"
#include "panels/GraphPicture.h"
#include "response/ResponseGraph.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QThreadPool>
#include <QTimer>

namespace m7410::test {
namespace {

const QString Room = QStringLiteral(M7410_FIT_DATA "/room.txt");

// Lets the window's events run until the preview's fit has ended.
bool waitForFit(EqFitDialog& preview) {
    QElapsedTimer t;
    t.start();
    while (preview.busy() && t.elapsed() < 120000)
        QTest::qWait(5);
    return !preview.busy();
}

FitOptions lowRange() {
    FitOptions o;
    o.fromHz = 20;
    o.toHz = 400;
    return o;
}

class EqFitFlowTest : public WindowFixture {
protected:
    // Answers the preview: the fit over 20 .. 400 Hz, applied.
    void applyLowRangeFit() {
        menu().runFitPreview = [&](EqFitDialog& preview) {
            ++previews;
            preview.toField()->setValue(400);
            preview.fitButton()->click();
            return waitForFit(preview) && preview.fit().error.empty();
        };
        chooseWithFile(menu().fitAction(), Room);
    }
    int previews = 0;
};

TEST_F(EqFitFlowTest, ApplyPutsTheFittedBandsInTheChannelAsOneStep) {
    MainWindow& w = connectedOnEqPage(2);
    const ChannelBands before = bandsOf(2);
    ChannelBands proposed{};
    menu().runFitPreview = [&](EqFitDialog& preview) {
        ++previews;
        EXPECT_TRUE(waitForFit(preview));
        EXPECT_TRUE(preview.fit().error.empty());
        preview.fromField()->setValue(20);
        preview.toField()->setValue(400);
        preview.fitButton()->click();
        EXPECT_TRUE(waitForFit(preview));
        const EqFit expected =
            fitChannel(readResponseFile(Room.toStdString()), {}, before, lowRange());
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
    chooseWithFile(menu().fitAction(), Room);
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

// Kept bands stay as they are, the fit works around them, and Apply leaves them alone.
TEST_F(EqFitFlowTest, KeptBandsStayAndTheFitWorksAroundThem) {
    connectedOnEqPage(2);
    const ChannelBands before = bandsOf(2);
    menu().runFitPreview = [&](EqFitDialog& preview) {
        ++previews;
        preview.toField()->setValue(400);
        preview.keepBox(0)->setChecked(true);
        preview.keepBox(3)->setChecked(true);
        preview.fitButton()->click();
        EXPECT_TRUE(waitForFit(preview));
        FitOptions o = lowRange();
        o.keep[0] = o.keep[3] = true;
        const EqFit expected = fitChannel(readResponseFile(Room.toStdString()), {}, before, o);
        EXPECT_TRUE(expected.error.empty());
        EXPECT_EQ(preview.fit().bands, expected.bands);
        EXPECT_EQ(preview.table()->item(0, 0)->text(), "1 (kept)");
        EXPECT_EQ(preview.table()->item(1, 0)->text(), "2");
        return true;
    };
    chooseWithFile(menu().fitAction(), Room);
    ASSERT_EQ(previews, 1);
    const ChannelBands after = bandsOf(2);
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[3], before[3]);
    EXPECT_NE(after, before);
    sendAll();
    EXPECT_TRUE(unitMatchesModel());
}

// The window keeps serving events while the fit runs; stopping, fitting again and closing
// each drop the running fit's result.
TEST_F(EqFitFlowTest, TheFitRunsOffTheWindowThreadAndCanBeStopped) {
    MainWindow& w = connectedOnEqPage(2);
    sendAll();
    const ChannelModel before = w.session().model();
    std::unique_ptr<QSignalSpy> fitted;
    menu().runFitPreview = [&](EqFitDialog& preview) {
        ++previews;
        fitted = std::make_unique<QSignalSpy>(&preview, &EqFitDialog::fitted);
        EXPECT_TRUE(preview.busy()) << "the constructor only starts the fit";
        EXPECT_TRUE(preview.busyBar()->isVisibleTo(&preview));
        EXPECT_FALSE(preview.applyButton()->isEnabled());
        EXPECT_TRUE(preview.stopButton()->isVisibleTo(&preview));
        bool served = false;
        QTimer::singleShot(0, &w, [&] { served = true; });
        QTest::qWait(1);
        EXPECT_TRUE(served);

        preview.stopButton()->click();
        EXPECT_FALSE(preview.busy());
        EXPECT_FALSE(preview.busyBar()->isVisibleTo(&preview));
        EXPECT_FALSE(preview.stopButton()->isVisibleTo(&preview));
        EXPECT_FALSE(preview.applyButton()->isEnabled());
        EXPECT_TRUE(preview.figuresLabel()->text().startsWith("Fit stopped"));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        EXPECT_EQ(fitted->count(), 0) << "the stopped fit's result was dropped";

        preview.fitButton()->click();
        preview.toField()->setValue(400);
        preview.fitButton()->click(); // replaces the fit over the whole range
        EXPECT_TRUE(waitForFit(preview));
        EXPECT_EQ(fitted->count(), 1) << "only the last fit arrives";
        EXPECT_TRUE(preview.applyButton()->isEnabled());
        EXPECT_EQ(preview.fit().bands,
                  fitChannel(preview.measured(), {}, bandsOf(2), lowRange()).bands);

        preview.fitButton()->click(); // a fit that is still running when the dialog closes
        preview.reject();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        EXPECT_EQ(fitted->count(), 1);
        return false;
    };
    chooseWithFile(menu().fitAction(), Room);
    ASSERT_EQ(previews, 1);

    // A dialog that goes while its fit runs: the result finds nobody and nothing changes.
    menu().runFitPreview = [&](EqFitDialog& preview) { return ++previews, preview.busy() && false; };
    chooseWithFile(menu().fitAction(), Room);
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(previews, 2);
    EXPECT_EQ(w.session().model(), before);
    EXPECT_EQ(menu().history().stack().count(), 0);
}

// After Apply the measurement stays on the channel's graph; the predicted curve follows a
// dragged marker; the toggle and other channels' pages hide it.
TEST_F(EqFitFlowTest, TheMeasurementStaysOnTheGraphAndFollowsADraggedMarker) {
    MainWindow& w = connectedOnEqPage(2);
    QPushButton* toggle = w.eqPage()->measurementToggle();
    GraphPicture* graph = w.eqPage()->graph();
    EXPECT_FALSE(toggle->isEnabled()) << "nothing to show before a fit";
    EXPECT_EQ(pixelsOf(graph->shown(), MeasurementOverlay::PredictedColour), 0);
    applyLowRangeFit();
    ASSERT_EQ(previews, 1);
    EXPECT_TRUE(toggle->isEnabled());
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(menu().measurementOverlay().drawn());
    const QImage applied = graph->shown();
    EXPECT_GT(pixelsOf(applied, MeasurementOverlay::MeasurementColour), 200);
    EXPECT_GT(pixelsOf(applied, MeasurementOverlay::PredictedColour), 200);

    // Drag band 2's marker down by 40 rows: the predicted curve moves with it.
    const MarkerPosition m = w.graph().curves().marker(bandAddress(2, 1));
    const EqBand undragged = bandsOf(2)[1];
    const QPoint to(m.x, m.y + 40);
    QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(m.x, m.y));
    QMouseEvent move(QEvent::MouseMove, to, graph->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(graph, &move);
    const QImage dragging = graph->shown();
    QTest::mouseRelease(graph, Qt::LeftButton, {}, to);
    EXPECT_NE(bandsOf(2)[1], undragged);
    int moved = 0;
    for (int y = 0; y < applied.height(); ++y)
        for (int x = 0; x < applied.width(); ++x)
            moved += ((applied.pixel(x, y) & 0xFFFFFF) ==
                      (MeasurementOverlay::PredictedColour & 0xFFFFFF)) !=
                     ((dragging.pixel(x, y) & 0xFFFFFF) ==
                      (MeasurementOverlay::PredictedColour & 0xFFFFFF));
    EXPECT_GT(moved, 50) << "the predicted curve follows the marker";

    toggle->click();
    EXPECT_FALSE(menu().measurementOverlay().drawn());
    EXPECT_EQ(pixelsOf(graph->shown(), MeasurementOverlay::PredictedColour), 0);
    toggle->click();
    QTest::mouseClick(w.channelGroup()->pageButton(PageEq, 1), Qt::LeftButton);
    EXPECT_FALSE(menu().measurementOverlay().drawn()) << "another channel's loudspeaker";
    QTest::mouseClick(w.channelGroup()->pageButton(PageEq, 2), Qt::LeftButton);
    EXPECT_TRUE(menu().measurementOverlay().drawn());
    sendAll();
    EXPECT_TRUE(unitMatchesModel());
}

TEST_F(EqFitFlowTest, DamagedMeasurementsAndCancelChangeNothing) {
    MainWindow& w = connectedOnEqPage(2);
    sendAll();
    const ChannelModel before = w.session().model();
    const BlockData unitBefore = demo.unit().currentSet();
    menu().runFitPreview = [&](EqFitDialog&) { return ++previews, false; };
    chooseWithFile(menu().fitAction(), Room);
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
        chooseWithFile(menu().fitAction(), f.fileName());
    }
    chooseWithFile(menu().fitAction(), programFile("missing.txt"));
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
    menu().runFitPreview = [&](EqFitDialog& preview) {
        ++previews;
        EXPECT_TRUE(waitForFit(preview));
        EXPECT_FALSE(preview.applyButton()->isEnabled());
        EXPECT_TRUE(preview.figuresLabel()->text().startsWith("only 9 points"));
        return true;
    };
    chooseWithFile(menu().fitAction(), few.fileName());
    EXPECT_EQ(previews, 2);

    QCoreApplication::processEvents();
    EXPECT_EQ(w.session().model(), before);
    EXPECT_EQ(menu().history().stack().count(), 0);
    sendAll();
    EXPECT_EQ(demo.unit().currentSet(), unitBefore);
}

} // namespace
} // namespace m7410::test
