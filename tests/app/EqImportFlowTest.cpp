// Importing a filter text into the open EQ page's channel and exporting its bands.
#include "WindowFixture.h"
#include "common/Fifo.h"

#include "app/TopGroup.h"
#include "editing/EditHistory.h"
#include "editing/EditMenu.h"
#include "editing/EqImportDialog.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/EqPage.h"
#include "panels/FilteredField.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTableWidget>

namespace m7410::test {
namespace {

const QString RewFile = QStringLiteral(M7410_EQTEXT_DATA "/rew-room.txt");

class EqImportFlowTest : public WindowFixture {
protected:
    int previews = 0;
};

TEST_F(EqImportFlowTest, ApplyPutsTheSnappedBandsInTheChannelAsOneStep) {
    MainWindow& w = connectedOnEqPage(2);
    const ChannelBands before = bandsOf(2);
    dialogs.nextOpen = RewFile;
    menu().runPreview = [&](EqImportDialog& preview) {
        ++previews;
        QTableWidget* t = preview.table();
        EXPECT_EQ(t->rowCount(), 5);
        EXPECT_EQ(t->item(0, 1)->text(), "63 Hz");
        EXPECT_EQ(t->item(0, 5)->text(), "62.5 Hz");
        EXPECT_EQ(t->item(2, 0)->text(), "LS");
        EXPECT_EQ(t->item(2, 4)->text(), "LS6");
        EXPECT_EQ(t->item(2, 7)->text(), "") << "a shelf has no Q on the unit";
        EXPECT_TRUE(preview.deviationLabel()->text().contains(" dB at "));
        EXPECT_FALSE(preview.notesLabel()->isVisibleTo(&preview)) << "nothing was skipped";
        EXPECT_GT(pixelsOf(preview.picture(), EqImportDialog::RequestedColour), 300);
        EXPECT_GT(pixelsOf(preview.picture(), EqImportDialog::UnitColour), 300);
        return true;
    };
    menu().update();
    ASSERT_TRUE(menu().importAction()->isEnabled());
    choose(menu().importAction());
    ASSERT_EQ(previews, 1);
    const ChannelBands after = bandsOf(2);
    EXPECT_EQ(after[0].freq, 40);
    EXPECT_EQ(after[4].type, EqTypeHighShelf);
    EXPECT_EQ(w.eqPage()->row(0).freq->text(), "62.5");
    EXPECT_EQ(menu().history().stack().count(), 1);
    menu().update();
    EXPECT_EQ(menu().undoAction()->text().section('\t', 0, 0), "Undo High EQ import");
    sendAll();
    EXPECT_TRUE(unitMatchesModel());

    menu().undoAction()->trigger();
    EXPECT_EQ(bandsOf(2), before);
    sendAll();
    EXPECT_TRUE(unitMatchesModel());
}

TEST_F(EqImportFlowTest, CancelAndRefusalChangeNothing) {
    MainWindow& w = connectedOnEqPage(2);
    sendAll();
    const ChannelModel before = w.session().model();
    const BlockData unitBefore = demo.unit().currentSet();
    dialogs.nextOpen = RewFile;
    menu().runPreview = [&](EqImportDialog&) { return ++previews, false; };
    choose(menu().importAction());
    EXPECT_EQ(previews, 1);

    QFile many(programFile("many.txt"));
    ASSERT_TRUE(many.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 7; ++i)
        many.write(QStringLiteral("Filter %1: ON PK Fc %2 Hz Gain -2 dB Q 1\n")
                       .arg(i)
                       .arg(100 * i)
                       .toLatin1());
    many.close();
    chooseWithFile(menu().importAction(), many.fileName());
    EXPECT_EQ(previews, 1) << "refused before any preview";
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].contains("7 filters")) << dialogs.messages[0].toStdString();

    chooseWithFile(menu().importAction(), programFile("missing.txt"));
    EXPECT_EQ(dialogs.errors.size(), 1u);

    QCoreApplication::processEvents();
    EXPECT_EQ(w.session().model(), before);
    EXPECT_EQ(menu().history().stack().count(), 0);
    sendAll();
    EXPECT_EQ(demo.unit().currentSet(), unitBefore);
}

TEST_F(EqImportFlowTest, APipeOrADeviceIsRefusedAtOnceAndNothingIsSent) {
    MainWindow& w = connectedOnEqPage(2);
    sendAll();
    const ChannelModel before = w.session().model();
    const BlockData unitBefore = demo.unit().currentSet();
    menu().runPreview = [&](EqImportDialog&) { return ++previews, true; };
    Fifo fifo(programFile("pipe.txt"));
    ASSERT_TRUE(fifo.made);
    // A link to a device is the device: /dev/zero reports no size and never ends.
    ASSERT_TRUE(QFile::link("/dev/zero", programFile("zero.txt")));
    const QString chosen[] = {programFile("pipe.txt"), QStringLiteral("/dev/zero"),
                              programFile("zero.txt")};
    for (const QString& file : chosen) {
        dialogs.nextOpen = file;
        QElapsedTimer took;
        took.start();
        choose(menu().importAction());
        EXPECT_LT(took.elapsed(), 1000) << file.toStdString();
        ASSERT_FALSE(dialogs.errors.empty()) << file.toStdString();
        EXPECT_EQ(dialogs.errors.back(), "Cannot read " + file + ": not a regular file");
    }
    EXPECT_EQ(dialogs.errors.size(), 3u);
    EXPECT_FALSE(fifo.blocked);
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(w.session().model(), before);
    EXPECT_EQ(menu().history().stack().count(), 0);
    sendAll();
    EXPECT_EQ(demo.unit().currentSet(), unitBefore);
    EXPECT_TRUE(menu().importAction()->isEnabled()) << "the window goes on as before";
}

TEST_F(EqImportFlowTest, ExportWritesTheChannelAndReadsBackUnchanged) {
    MainWindow& w = connectedOnEqPage(2);
    menu().runPreview = [&](EqImportDialog&) { return ++previews, true; };
    chooseWithFile(menu().importAction(), RewFile);
    const ChannelBands imported = bandsOf(2);

    dialogs.nextSave = programFile("high.txt");
    choose(menu().exportAction());
    QFile out(dialogs.nextSave);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QByteArray text = out.readAll();
    EXPECT_TRUE(text.startsWith("# M_7410 equaliser of channel \"High\"\nPreamp: 0 dB\n"));
    EXPECT_TRUE(text.contains("Filter 3: ON LS 6dB Fc 45.5 Hz Gain 4 dB\n"));

    chooseWithFile(menu().importAction(), dialogs.nextSave);
    EXPECT_EQ(bandsOf(2), imported);
    EXPECT_EQ(menu().history().stack().count(), 1) << "an import that changes nothing is no step";

    dialogs.nextSave = programFile("no-such-folder/high.txt");
    choose(menu().exportAction());
    EXPECT_EQ(dialogs.errors.size(), 1u);
    (void)w;
}

TEST_F(EqImportFlowTest, ImportNeedsTheLinkAndAnOpenEqPage) {
    MainWindow& w = openWindow();
    menu().update();
    EXPECT_FALSE(menu().importAction()->isEnabled());
    EXPECT_FALSE(menu().exportAction()->isEnabled());
    QTest::mouseClick(w.channelGroup()->pageButton(PageEq, 2), Qt::LeftButton);
    menu().update();
    EXPECT_FALSE(menu().importAction()->isEnabled()) << "no link";
    EXPECT_TRUE(menu().exportAction()->isEnabled());
    menu().runPreview = [&](EqImportDialog&) { return ++previews, true; };
    chooseWithFile(menu().importAction(), RewFile);
    EXPECT_EQ(previews, 0);
}

} // namespace
} // namespace m7410::test
