#include "WindowFixture.h"

#include "app/FileBox.h"
#include "app/MemoryMenuDialog.h"
#include "app/TopGroup.h"
#include "panels/FilteredField.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"
#include "unit/Unit.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>

namespace m7410::test {
namespace {

class PresetControlsTest : public WindowFixture {
protected:
    void click(FileBox::Button b) {
        QTest::mouseClick(window->fileBox()->button(b), Qt::LeftButton);
    }
    // Virtual milliseconds until the window gives the file box back (-1: not within limitMs).
    int untilFileBoxBack(int limitMs) {
        for (int ms = 0; ms < limitMs; ms += 10) {
            if (window->fileBox()->isEnabled()) return ms;
            clock.advance(10);
        }
        return -1;
    }
};

TEST_F(PresetControlsTest, TheButtonsRecallAndStorePresetsOnTheUnit) {
    MainWindow& w = connectedWindow();
    ASSERT_EQ(w.session().linkOpen(), 1);

    w.topGroup()->loadList()->setCurrentIndex(4);
    QTest::mouseClick(w.topGroup()->loadButton(), Qt::LeftButton);
    clock.advance(3000);
    EXPECT_EQ(demo.unit().currentSet(), demo.unit().preset(5));
    EXPECT_EQ(encodeBlock(w.session().model(), demo.unit().currentSet()), demo.unit().currentSet());

    w.topGroup()->saveList()->setCurrentIndex(2);
    FilteredField* name = w.topGroup()->nameField();
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Stage");
    QTest::keyClick(name, Qt::Key_Return);
    clock.advance(1000);
    EXPECT_EQ(demo.unit().presetName(3), "Stage");
    EXPECT_EQ(w.topGroup()->loadList()->itemText(2), "Pre3:Stage");
    EXPECT_EQ(dialogs.messages.back(), "Successfully saved.");
    EXPECT_EQ(demo.unit().malformedFrames(), 0);
}

TEST_F(PresetControlsTest, NameFieldsSelectOnEntryTakeNoPastedJunkAndKeepTheUnitsBytes) {
    // A name another program gave slot 4, with a byte above ASCII.
    BlockData named = demo.unit().preset(4);
    setBlockName(named, "Caf\xE9");
    demo.unit().setPreset(4, named);
    MainWindow& w = connectedWindow();
    FilteredField* name = w.topGroup()->nameField();

    w.topGroup()->saveList()->setCurrentIndex(3);
    w.saveListChanged(3);
    QTest::mouseClick(name, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(name->selectedText(), name->text()) << "entering selects the whole name";
    QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(2, 5));
    QCoreApplication::processEvents();
    EXPECT_TRUE(name->selectedText().isEmpty()) << "a second click inside only places the cursor";

    // Stored back as it came: the same bytes, not their UTF-8 spelling.
    QTest::keyClick(name, Qt::Key_Return);
    clock.advance(1000);
    EXPECT_EQ(demo.unit().presetName(4), "Caf\xE9");
    EXPECT_EQ(w.topGroup()->loadList()->itemText(3), QStringLiteral("Pre4:Caf\u00E9"));

    // Pasting goes round the key filter; the field must still refuse what no key could type.
    name->clear();
    QApplication::clipboard()->setText(QStringLiteral("Tab\there"));
    name->paste();
    EXPECT_TRUE(name->text().isEmpty());
    FilteredField* dialogName = w.memoryMenu()->nameField();
    QApplication::clipboard()->setText(QStringLiteral("\u00FCber"));
    dialogName->paste();
    EXPECT_TRUE(dialogName->text().isEmpty());
    EXPECT_EQ(demo.unit().malformedFrames(), 0);
}

TEST_F(PresetControlsTest, LongNamesFromTheUnitAreShownAndSavedWholeOnlyTypingIsLimited) {
    const std::string sixteen = "Monitor mix 16ch";
    const std::string twenty = "Front of house main!";
    ASSERT_EQ(sixteen.size(), 16u);
    ASSERT_EQ(twenty.size(), 20u);
    for (auto [slot, text] : {std::pair{5, sixteen}, std::pair{6, twenty}}) {
        BlockData named = demo.unit().preset(slot);
        setBlockName(named, text);
        demo.unit().setPreset(slot, named);
    }
    MainWindow& w = connectedWindow(); // the names reply brings both names
    ASSERT_EQ(w.session().linkOpen(), 1);
    QComboBox* saveList = w.topGroup()->saveList();
    FilteredField* name = w.topGroup()->nameField();
    for (auto [slot, text] : {std::pair{5, sixteen}, std::pair{6, twenty}}) {
        saveList->setCurrentIndex(slot - 1);
        emit saveList->activated(slot - 1);
        EXPECT_EQ(name->text().toStdString(), text) << "chosen in the Save: list";
        QTest::mouseClick(w.topGroup()->saveButton(), Qt::LeftButton);
        clock.advance(1000);
        EXPECT_EQ(dialogs.messages.back(), "Successfully saved.");
        EXPECT_EQ(demo.unit().presetName(slot), text) << "saved back whole";
        EXPECT_EQ(w.topGroup()->loadList()->itemText(slot - 1).toStdString(),
                  "Pre" + std::to_string(slot) + ":" + text);
    }

    // Typing stops at 15 characters, also at the end of a longer name; replacing keeps it.
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "x");
    EXPECT_EQ(name->text().toStdString(), twenty);
    name->setSelection(0, 1);
    QTest::keyClicks(name, "f");
    EXPECT_EQ(name->text().toStdString(), std::string("f").append(twenty, 1));
    name->selectAll();
    QTest::keyClicks(name, "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(name->text().toStdString(), "abcdefghijklmno");
    EXPECT_EQ(demo.unit().malformedFrames(), 0);
}

TEST_F(PresetControlsTest, OneGroupGoesToAFileAndBackToTheUnit) {
    MainWindow& w = connectedWindow();
    const BlockData original = demo.unit().currentSet();
    dialogs.nextSave = programFile("stage-left");
    click(FileBox::SaveOne);
    clock.advance(2000);
    QFile saved(dialogs.nextSave);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray line = saved.readLine().trimmed();
    EXPECT_EQ(line.size(), 664);

    // Another set in force on the unit, then the file brings the saved one back.
    demo.unit().setCurrentSet(demo.unit().preset(7));
    dialogs.nextOpen = dialogs.nextSave;
    click(FileBox::LoadOne);
    clock.advance(10000);
    EXPECT_EQ(demo.unit().currentSet(), original);
    EXPECT_EQ(encodeBlock(w.session().model(), original), original);

    // A damaged file is refused and sends nothing.
    QFile damaged(programFile("damaged"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(line.left(600));
    damaged.close();
    const int framesBefore = demo.unit().framesReceived(KindWrite, CodeCurrentBlock);
    dialogs.nextOpen = programFile("damaged");
    click(FileBox::LoadOne);
    clock.advance(2000);
    EXPECT_EQ(dialogs.messages.back(), "File damaged.");
    EXPECT_EQ(demo.unit().framesReceived(KindWrite, CodeCurrentBlock), framesBefore);
    EXPECT_EQ(demo.unit().malformedFrames(), 0);
}

// The 20-preset buttons go through the unit: the save dialog comes once the presets are in, and
// the unit is free again as soon as the window is, so the next press is not lost as "busy".
TEST_F(PresetControlsTest, TwentyPresetsGoToAFileAndBackAndFreeTheUnitWithTheWindow) {
    MainWindow& w = connectedWindow();
    const BlockData third = demo.unit().preset(3);
    dialogs.nextSave = programFile("all");
    const std::size_t dialogsBefore = dialogs.filters.size();
    click(FileBox::SaveTwenty);
    clock.advance(1000);
    EXPECT_EQ(dialogs.filters.size(), dialogsBefore); // still reading
    EXPECT_TRUE(w.unitApi().isBusy());
    ASSERT_GT(untilFileBoxBack(30000), 0);
    clock.advance(20);
    ASSERT_EQ(dialogs.filters.size(), dialogsBefore + 1);
    EXPECT_EQ(dialogs.filters.back(), "20M_7410|20M_7410File (*)");
    EXPECT_FALSE(w.unitApi().isBusy());
    QFile saved(dialogs.nextSave);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().count('\n'), 20);

    // A cancelled open dialog sends nothing and leaves the unit free.
    demo.unit().setPreset(3, demo.unit().preset(9));
    const int blocksBefore = demo.unit().framesReceived(KindWrite, CodePresetBlock);
    dialogs.nextOpen.clear();
    click(FileBox::LoadTwenty);
    clock.advance(1000);
    EXPECT_EQ(demo.unit().framesReceived(KindWrite, CodePresetBlock), blocksBefore);
    EXPECT_FALSE(w.unitApi().isBusy());

    dialogs.nextOpen = dialogs.nextSave;
    click(FileBox::LoadTwenty);
    clock.advance(1000);
    EXPECT_TRUE(w.unitApi().isBusy());
    ASSERT_GT(untilFileBoxBack(30000), 0);
    clock.advance(20);
    EXPECT_FALSE(w.unitApi().isBusy());
    EXPECT_EQ(demo.unit().preset(3), third);

    // Right after, a recall goes out at once.
    w.topGroup()->loadList()->setCurrentIndex(2);
    QTest::mouseClick(w.topGroup()->loadButton(), Qt::LeftButton);
    clock.advance(3000);
    EXPECT_EQ(demo.unit().currentSet(), third);
    EXPECT_EQ(demo.unit().malformedFrames(), 0);
}

} // namespace
} // namespace m7410::test
