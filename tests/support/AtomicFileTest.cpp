// The atomic writer replaces only regular files and says why it refuses anything else.
#include "support/AtomicFile.h"

#include "common/AsOtherUser.h"
#include "common/Fifo.h"
#include "common/NullDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace m7410::test {
namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class AtomicFileTest : public ::testing::Test {
protected:
    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Both the pre-check and the write refuse, with the same reason, and nothing is written.
    void expectRefused(const QString& path, const QString& expected) {
        const QStringList before = everything();
        QString reason;
        EXPECT_FALSE(checkWritable(path, reason)) << path.toStdString();
        EXPECT_EQ(reason, expected) << path.toStdString();
        reason.clear();
        EXPECT_FALSE(writeFileAtomically(path, "new", reason)) << path.toStdString();
        EXPECT_EQ(reason, expected) << path.toStdString();
        EXPECT_EQ(everything(), before) << "nothing left behind";
    }
    QStringList everything() const {
        QStringList out;
        for (const QString& sub : {QString(), QStringLiteral("shut")})
            for (const QString& name : QDir(dir.filePath(sub))
                                           .entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot))
                out << sub + '/' + name;
        return out;
    }
    QTemporaryDir dir;
};

TEST_F(AtomicFileTest, ANewNameOrARegularFileIsWrittenWhole) {
    QString reason;
    EXPECT_TRUE(checkWritable(file("new.txt"), reason)) << reason.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file("new.txt"))) << "the check writes nothing";
    ASSERT_TRUE(writeFileAtomically(file("new.txt"), "one", reason)) << reason.toStdString();
    ASSERT_TRUE(writeFileAtomically(file("new.txt"), "two", reason)) << reason.toStdString();
    EXPECT_EQ(contents(file("new.txt")), "two");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"new.txt"});
}

TEST_F(AtomicFileTest, DevicesPipesAndFoldersAreNeverReplaced) {
    // The system's /dev/null and a link to it are only checked: were the writer to regress, a
    // write as root would replace the system's node.
    QString reason;
    EXPECT_FALSE(checkWritable(QStringLiteral("/dev/null"), reason));
    EXPECT_EQ(reason, "not a regular file");
    ASSERT_TRUE(QFile::link("/dev/null", file("null")));
    EXPECT_FALSE(checkWritable(file("null"), reason));
    EXPECT_EQ(reason, "not a regular file");
    // A node like it in the test's folder is written to as well.
    ASSERT_TRUE(makeNullDevice(file("device")));
    ASSERT_TRUE(isCharDevice(file("device")));
    expectRefused(file("device"), "not a regular file");
    EXPECT_TRUE(isCharDevice(file("device")));

    {
        Fifo fifo(file("pipe"));
        ASSERT_TRUE(fifo.made);
        expectRefused(file("pipe"), "not a regular file");
        EXPECT_FALSE(fifo.blocked);
        struct stat info {};
        ASSERT_EQ(::lstat(QFile::encodeName(file("pipe")).constData(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode));
    }

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    expectRefused(file("folder"), "not a regular file");
    EXPECT_TRUE(QFileInfo(file("folder")).isDir());
    // A typed path names the slip; a pipe stays what it is.
    EXPECT_FALSE(checkWritable(file("folder"), reason, FolderWords::Named));
    EXPECT_EQ(reason, "is a folder");
    ASSERT_TRUE(QFile::link(file("folder"), file("to-folder")));
    EXPECT_FALSE(checkWritable(file("to-folder"), reason, FolderWords::Named));
    EXPECT_EQ(reason, "is a folder");
    EXPECT_FALSE(checkWritable(file("device"), reason, FolderWords::Named));
    EXPECT_EQ(reason, "not a regular file");
    expectRefused(file("missing/x.txt"), "no such folder");
}

TEST_F(AtomicFileTest, ALinkToARegularFileReplacesTheTargetAndKeepsTheLink) {
    QString reason;
    ASSERT_TRUE(writeFileAtomically(file("target.txt"), "old", reason));
    ASSERT_TRUE(QFile::link(file("target.txt"), file("link.txt")));
    ASSERT_TRUE(writeFileAtomically(file("link.txt"), "new", reason)) << reason.toStdString();
    EXPECT_TRUE(QFileInfo(file("link.txt")).isSymLink());
    EXPECT_EQ(contents(file("target.txt")), "new");

    ASSERT_TRUE(QFile::link(file("nothing.txt"), file("dangling.txt")));
    expectRefused(file("dangling.txt"), "a link that leads to no file");
    EXPECT_FALSE(QFileInfo::exists(file("nothing.txt")));
}

TEST_F(AtomicFileTest, AReadOnlyFileOrFolderIsRefusedBeforeAnythingIsWritten) {
    // Open to all, so that only the file's own mode stops another user.
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
    QString reason;
    ASSERT_TRUE(writeFileAtomically(file("locked.txt"), "old", reason));
    QFile::setPermissions(file("locked.txt"), QFile::ReadOwner | QFile::ReadOther);
    {
        AsOtherUser other;
        expectRefused(file("locked.txt"), "permission denied");
    }
    EXPECT_EQ(contents(file("locked.txt")), "old");

    // A folder nobody may write: neither a new name nor a writable file in it can be written.
    ASSERT_TRUE(QDir(dir.path()).mkdir("shut"));
    const QString inside = file("shut/x.txt");
    const auto open = QFile::ReadOwner | QFile::ReadOther | QFile::ExeOwner | QFile::ExeOther;
    QFile::setPermissions(file("shut"), open);
    {
        AsOtherUser other;
        expectRefused(inside, "permission denied");
    }
    QFile::setPermissions(file("shut"), open | QFile::WriteOwner);
}

} // namespace
} // namespace m7410::test
