// The window on a desktop other than the one it was drawn on: a dark palette and a larger
// system font leave every caption whole and readable, and every value text fits its place.
#include "DarkPalette.h"
#include "TextFit.h"
#include "WindowFixture.h"

#include "app/MemoryMenuDialog.h"
#include "app/PasswordBox.h"
#include "app/PersonalSettingsBox.h"
#include "app/TopGroup.h"
#include "model/DisplayFormats.h"
#include "model/ValueTables.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/DelayPage.h"
#include "panels/EqPage.h"
#include "panels/FilteredField.h"
#include "panels/GainPage.h"
#include "panels/LimiterPage.h"
#include "panels/PageSwitcher.h"
#include "protocol/Session.h"

#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>

namespace m7410::test {

namespace {

class DesktopFitTest : public WindowFixture {
protected:
    ~DesktopFitTest() override {
        window.reset();
        QApplication::setPalette(QPalette());
        QApplication::setFont(systemFont);
    }
    // The desktop's font at 11 pt and its dark palette, before the window is made.
    void darkDesktopWithLargeFont() {
        QApplication::setPalette(darkPalette());
        QFont large = systemFont;
        large.setPointSize(11);
        QApplication::setFont(large);
    }
    MainWindow& connected() {
        writeSettings("[Personal settings]\r\nName=M_7410\r\nChannel mode=3\r\n");
        MainWindow& w = openWindow();
        clock.runDue();
        QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
        clock.advance(3000);
        EXPECT_EQ(w.session().linkOpen(), 1);
        return w;
    }
    void expectWhole(QWidget* shown, const char* view) {
        const QStringList faults = captionFaults(shown);
        EXPECT_TRUE(faults.isEmpty()) << view << ":\n  " << faults.join("\n  ").toStdString();
    }

    const QFont systemFont = QApplication::font();
};

TEST_F(DesktopFitTest, DarkPaletteAndLargeFontKeepEveryCaptionWholeAndReadable) {
    darkDesktopWithLargeFont();
    MainWindow& w = connected();
    // Faces fixed in colour: a muted output, the "Bass +" indicator lit.
    QTest::mouseClick(w.channelGroup()->muteButton(0), Qt::LeftButton);
    w.setBassOn(true);
    expectWhole(&w, "no page open");

    const std::pair<int, int> pages[] = {{PageGain, 2},
                                         {PageDelay, 0},
                                         {PageLimiter, 1},
                                         {PageEq, 2},
                                         {PageEq, MainChannelIndex},
                                         {PageDelay, MainChannelIndex}};
    for (auto [page, channel] : pages) {
        QTest::mouseClick(w.channelGroup()->pageButton(page, channel), Qt::LeftButton);
        expectWhole(&w, qPrintable(QStringLiteral("page %1 of channel %2").arg(page).arg(channel)));
    }
    QTest::keyClick(&w, Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(w.passwordBox()->isVisible());
    expectWhole(&w, "password box");
    QTest::keyClicks(w.passwordBox()->field(), "804417");
    QTest::keyClick(w.passwordBox()->field(), Qt::Key_Return);
    ASSERT_TRUE(w.settingsBox()->isVisible());
    expectWhole(&w, "personal settings");
    w.settingsBox()->hide();

    w.memoryMenu()->show();
    expectWhole(w.memoryMenu(), "Memory Menu");
    w.memoryMenu()->hide();
}

// Each text a value can give, checked in the place that shows it.
class ValueTexts {
public:
    void check(QWidget* w, const QString& text) {
        if (!w->isVisible()) return;
        const std::optional<Caption> c = captionOf(w, text);
        if (!c) return;
        const QString why = unfit(*c);
        if (!why.isEmpty() && faults.size() < 20) faults << why;
        ++checked;
    }
    void check(QWidget* w, const std::string& text) { check(w, QString::fromStdString(text)); }
    void checkItems(QComboBox* list) {
        for (int i = 0; i < list->count(); ++i)
            check(list, list->itemText(i));
    }
    QStringList faults;
    int checked = 0;
};

TEST_F(DesktopFitTest, EveryValueTextFitsThePlaceThatShowsIt) {
    MainWindow& w = connected();
    ChannelGroup* rows = w.channelGroup();
    ValueTexts texts;
    for (int v = 0; v <= VolumeMax; ++v)
        texts.check(rows->volumeLabel(), formatVolume(v));
    for (int p = 1; p <= 20; ++p)
        texts.check(w.topGroup()->presetNumber(), QString::number(p));
    // A 20-byte name as the unit holds it, of letters of common width.
    texts.check(w.topGroup()->presetNameField(), QStringLiteral("Front of house 20 ab"));

    w.pages().openPage(PageGain, 0);
    for (int g = 0; g < OutputGainCount; ++g)
        texts.check(w.gainPage()->gainField(), formatOutputGain(g));
    for (int channel : {0, MainChannelIndex}) {
        w.pages().openPage(PageDelay, channel);
        for (int s = 0; s <= w.delayPage()->slider()->maximum(); ++s) {
            const DelayTexts t = formatDelay(s);
            texts.check(w.delayPage()->delayField(), t.ms);
            texts.check(w.delayPage()->metresLabel(), t.metres);
            texts.check(w.delayPage()->feetLabel(), t.feet);
        }
    }
    w.pages().openPage(PageLimiter, 0);
    for (QComboBox* list : w.limiterPage()->findChildren<QComboBox*>())
        texts.checkItems(list);

    w.pages().openPage(PageEq, 2);
    EqPage* eq = w.eqPage();
    for (int n = 0; n < EqRowsPerChannel; ++n) {
        const EqRowControls& r = eq->row(n);
        for (int i = 0; i < FreqCount; ++i)
            texts.check(r.freq, formatFrequency(i));
        for (int i = 0; i < QCount; ++i)
            texts.check(r.q, formatQ(i));
        for (int i = 0; i < EqGainCount; ++i)
            texts.check(r.gain, formatEqGain(i));
        texts.checkItems(r.type);
    }
    for (const CrossoverControls* x : {&eq->highPass(), &eq->lowPass()}) {
        for (int i = 0; i < FreqCount; ++i)
            texts.check(x->freq, formatFrequency(i));
        texts.checkItems(x->type);
    }
    EXPECT_GT(texts.checked, 5000);
    EXPECT_TRUE(texts.faults.isEmpty()) << texts.faults.join("\n").toStdString();
}

TEST_F(DesktopFitTest, ALowScreenScrollsTheContentAHighOneShowsItWhole) {
    MainWindow& w = connected();
    auto* scroll = qobject_cast<QScrollArea*>(w.centralWidget());
    ASSERT_NE(scroll, nullptr);
    auto showsAll = [&] {
        w.fitToScreen(QRect(0, 0, 1920, 1050));
        QCoreApplication::processEvents();
        EXPECT_EQ(w.size(), QSize(750, 753));
        EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
        EXPECT_EQ(w.channelGroup()->mapTo(scroll->viewport(), QPoint(0, 0)), QPoint(7, 98));
    };
    showsAll();

    PersonalSettingsBox* box = w.settingsBox();
    for (QSize screen : {QSize(1366, 768), QSize(1280, 720)}) {
        const QRect available(QPoint(0, 0), screen - QSize(0, 28)); // a panel at the bottom
        w.fitToScreen(available);
        QCoreApplication::processEvents();
        EXPECT_LE(w.frameGeometry().height(), available.height()) << "the frame is on screen";
        EXPECT_LE(w.statusBar()->geometry().bottom(), w.height()) << "the status bar in sight";
        EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible()) << "the window is wider instead";

        // The lowest control of the lowest box comes into sight as Tab reaches it.
        box->show();
        box->versionField()->setFocus();
        for (int i = 0; i < 10 && QApplication::focusWidget() != box->saveButton(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), box->saveButton());
        const QRect inView(box->saveButton()->mapTo(scroll->viewport(), QPoint(0, 0)),
                           box->saveButton()->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(inView));
        box->hide();
        scroll->verticalScrollBar()->setValue(0);
    }
    showsAll();
}

} // namespace
} // namespace m7410::test
