// The one bounded reader: regular files up to their kind's limit, everything else refused at once.
#include "support/PlainFile.h"

#include "common/Fifo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace m7410::test {
namespace {

TEST(PlainFileTest, ReadsARegularFileUpToItsLimitAndNothingElse) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.txt");
    PlainFile missing = PlainFile::read(path, 16);
    EXPECT_EQ(missing.status, PlainFile::Status::Missing);
    EXPECT_FALSE(missing.reason.isEmpty());

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(16, 'x'));
    f.flush();
    PlainFile full = PlainFile::read(path, 16);
    EXPECT_EQ(full.status, PlainFile::Status::Read);
    EXPECT_EQ(full.bytes, QByteArray(16, 'x'));
    EXPECT_TRUE(full.reason.isEmpty());
    f.write("y");
    f.flush();
    PlainFile over = PlainFile::read(path, 16);
    EXPECT_EQ(over.status, PlainFile::Status::Refused);
    EXPECT_TRUE(over.tooLarge);
    EXPECT_TRUE(over.bytes.isEmpty());
    EXPECT_EQ(over.reason, "larger than 16 bytes");
    EXPECT_EQ(PlainFile::read(path, PlainFile::PresetFileLimit).bytes.size(), 17);
    f.write(QByteArray(PlainFile::PresetFileLimit, 'z'));
    f.flush();
    EXPECT_EQ(PlainFile::read(path, PlainFile::PresetFileLimit).reason, "larger than 64 KiB");
}

TEST(PlainFileTest, PipesDevicesAndFoldersAreRefusedWithoutWaiting) {
    QTemporaryDir dir;
    Fifo fifo(dir.filePath("pipe"));
    ASSERT_TRUE(fifo.made);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    for (const QString& path :
         {dir.filePath("pipe"), dir.filePath("zero"), QStringLiteral("/dev/zero"),
          dir.filePath("folder"), QStringLiteral("/dev/null")}) {
        const PlainFile file = PlainFile::read(path, PlainFile::SettingsLimit);
        EXPECT_EQ(file.status, PlainFile::Status::Refused) << path.toStdString();
        EXPECT_EQ(file.reason, "not a regular file") << path.toStdString();
        EXPECT_FALSE(file.tooLarge);
    }
    EXPECT_FALSE(fifo.blocked);
}

} // namespace
} // namespace m7410::test
