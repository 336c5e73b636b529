// Reading and saving the settings file as the platform's INI reader does, keeping the file's style.
#include "settings/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace m7410::test {
namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(SettingsFileTest, ReadsLikeThePlatformAndKeepsTheFileStyleWhenSaving) {
    QTemporaryDir dir;
    const QString path = dir.filePath("mysetting.ini");
    SettingsFile absent(path);
    EXPECT_FALSE(absent.text("Name").has_value());
    EXPECT_EQ(absent.integer("Channel mode"), 0);
    EXPECT_TRUE(absent.read().name.isEmpty());

    // Leading digits count, anything else reads as 0; UTF-8 texts and a BOM pass through.
    writeAll(path, "\xEF\xBB\xBF[personal settings]\nChannel mode = 2abc\nName=Saal \xC3\x96st\n"
                   "[Other]\nChannel mode=9\n");
    SettingsFile lf(path);
    EXPECT_EQ(lf.integer("Channel mode"), 2) << "section names ignore case, as on the platform";
    EXPECT_EQ(*lf.text("Name"), QStringLiteral("Saal Öst"));
    PersonalSettings changed = lf.read();
    changed.channelMode = 1;
    QString error;
    ASSERT_TRUE(lf.save(changed, error)) << error.toStdString();
    const QByteArray saved = readAll(path);
    EXPECT_TRUE(saved.startsWith("\xEF\xBB\xBF"));
    EXPECT_FALSE(saved.contains('\r')) << "a file with LF line ends keeps them";
    EXPECT_TRUE(saved.contains("Channel mode=1\n"));
    EXPECT_TRUE(saved.contains("[Other]\nChannel mode=9\n"));
    EXPECT_EQ(SettingsFile(path).integer("Channel mode"), 1);

    writeAll(path, "[Personal settings]\r\nChannel mode=x\r\n");
    EXPECT_EQ(SettingsFile(path).integer("Channel mode"), 0);

    // Files the INI reader takes only in part are not saved over: a zero byte ends what it
    // sees, a byte-order mark of a second file joined on hides the section after it (its keys
    // would move to the one before), and a section name left open takes in the next line.
    const QByteArray misread[] = {
        QByteArray("[Personal settings]\nName=Hall\n; a\0b\n[Other]\nKey=1\n", 50),
        "[Personal settings]\nName=Hall\n\xEF\xBB\xBF[Other]\nKey=1\n",
        "\xEF\xBB\xBF[Other\nKey=1\n[Personal settings]\nName=Hall\n"};
    for (const QByteArray& file : misread) {
        writeAll(path, file);
        SettingsFile partly(path);
        EXPECT_FALSE(partly.save(partly.read(), error));
        EXPECT_TRUE(error.contains("cannot be read as an INI file")) << error.toStdString();
        EXPECT_EQ(readAll(path), file);
    }
    EXPECT_EQ(SettingsFile(path).text("Name"), QStringLiteral("Hall"));
    // A mark inside a value is only a character: the file saves again and again.
    PersonalSettings marked;
    marked.name = QStringLiteral("\uFEFF[Hall]");
    writeAll(path, "[Personal settings]\n");
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(SettingsFile(path).save(marked, error)) << error.toStdString();
}

} // namespace
} // namespace m7410::test
