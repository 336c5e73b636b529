// libFuzzer target: any bytes as "logo.bmp", read as at start-up, then written back as the
// personal settings box's "save" does and read again as the next start-up would.
#include "Finding.h"
#include "TempFolder.h"
#include "settings/LogoFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace m7410;

namespace {

QString logoPath;
QString savedPath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    const std::string dir = fuzz::makeTempFolder("logo_fuzz");
    if (dir.empty()) fuzz::fail("no temporary folder");
    logoPath = QString::fromStdString(dir) + QStringLiteral("/logo.bmp");
    savedPath = QString::fromStdString(dir) + QStringLiteral("/saved.bmp");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    {
        QFile f(logoPath);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            fuzz::fail("cannot write the file");
    }
    QString reason;
    const QImage logo = readLogoFile(logoPath, reason);
    if (logo.isNull()) {
        // Start-up says why it goes on without the splash.
        if (reason.isEmpty()) fuzz::fail("a logo refused without a reason");
        return 0;
    }
    if (logo.width() <= 0 || logo.height() <= 0) fuzz::fail("a picture without pixels");

    // "save" writes whatever picture was shown as a bitmap; the next start must read it back
    // as the same picture.
    QSaveFile f(savedPath);
    if (!f.open(QIODevice::WriteOnly) || !logo.save(&f, "BMP") || !f.commit())
        fuzz::fail("the shown picture could not be saved as a bitmap");
    const QImage back = readLogoFile(savedPath, reason);
    if (back.isNull()) fuzz::fail("the saved bitmap does not read back: " + reason.toStdString());
    if (back.size() != logo.size()) fuzz::fail("the saved bitmap has another size");
    if (back.convertToFormat(QImage::Format_RGB32) != logo.convertToFormat(QImage::Format_RGB32))
        fuzz::fail("the saved bitmap shows other colours");
    return 0;
}
