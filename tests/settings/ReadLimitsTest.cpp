// Settings and logo at paths that are not plain files, or are too large, never hang or abort.
#include "settings/LogoFile.h"
#include "settings/SettingsFile.h"
#include "support/PlainFile.h"

#include "common/Fifo.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace m7410::test {
namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray settingsOfSize(qint64 size) {
    QByteArray text = "[Personal settings]\nName=Hall\n;";
    text += QByteArray(size - text.size() - 1, 'x');
    return text + "\n";
}

TEST(ReadLimitsTest, SettingsThatAreNoPlainFileOrTooLargeCountAsAbsent) {
    QTemporaryDir dir;
    const QString path = dir.filePath("mysetting.ini");
    {
        Fifo fifo(path);
        ASSERT_TRUE(fifo.made);
        SettingsFile settings(path);
        EXPECT_FALSE(settings.text("Name").has_value());
        // Saving must not block on the pipe, nor replace it with our keys alone.
        QString error;
        EXPECT_FALSE(settings.save(settings.read(), error));
        EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
        EXPECT_FALSE(fifo.blocked);
    }
    QFile::remove(path);
    ASSERT_TRUE(QFile::link("/dev/zero", path));
    EXPECT_FALSE(SettingsFile(path).text("Name").has_value());
    QFile::remove(path);

    writeBytes(path, settingsOfSize(PlainFile::SettingsLimit));
    EXPECT_EQ(SettingsFile(path).text("Name"), QStringLiteral("Hall"));
    writeBytes(path, settingsOfSize(PlainFile::SettingsLimit + 1));
    SettingsFile large(path);
    EXPECT_FALSE(large.text("Name").has_value());
    QString error;
    EXPECT_FALSE(large.save(large.read(), error)) << "the large file would be cut to our keys";
    EXPECT_EQ(QFileInfo(path).size(), PlainFile::SettingsLimit + 1);
}

TEST(ReadLimitsTest, LogoThatIsNoPlainFileOrTooLargeIsRefusedWithTheReason) {
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.bmp");
    QString reason;
    EXPECT_TRUE(readLogoFile(path, reason).isNull());
    {
        Fifo fifo(path);
        ASSERT_TRUE(fifo.made);
        EXPECT_TRUE(readLogoFile(path, reason).isNull());
        EXPECT_EQ(reason, "not a regular file");
        EXPECT_FALSE(fifo.blocked);
    }
    QFile::remove(path);
    ASSERT_TRUE(QFile::link("/dev/zero", path));
    EXPECT_TRUE(readLogoFile(path, reason).isNull());
    QFile::remove(path);

    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(path, "BMP"));
    EXPECT_EQ(readLogoFile(path, reason).pixel(2, 1), picture.pixel(2, 1));
    // A sparse file costs no disk space.
    QFile large(path);
    ASSERT_TRUE(large.resize(PlainFile::LogoLimit + 1));
    EXPECT_TRUE(readLogoFile(path, reason).isNull());
    EXPECT_EQ(reason, "larger than 64 MiB");

    // 54 bytes that declare 2 x 16777215 pixels: saved back by the settings box it would be a
    // bitmap the next start refuses, so it is refused now, before anything is decoded.
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint8('B') << quint8('M') << quint32(54) << quint32(0) << quint32(54) << quint32(40)
        << qint32(2) << qint32(16777215) << quint16(1) << quint16(16) << quint32(0) << quint32(0)
        << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
    writeBytes(path, header);
    EXPECT_TRUE(readLogoFile(path, reason).isNull());
    EXPECT_EQ(reason, "picture larger than 16000000 pixels");
}

} // namespace
} // namespace m7410::test
