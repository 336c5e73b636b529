#include "app/SetupCheck.h"

#include "link/HidBackend.h"

#include <QDir>
#include <QFileInfo>

#include <hidapi.h>

#include <cstring>

namespace m7410 {

namespace {

constexpr uint16_t UnitVendor = 0x0483;
constexpr uint16_t UnitProduct = 0x5750;

QString access(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("missing");
    return info.isWritable() ? QStringLiteral("present, writable")
                             : QStringLiteral("present, not writable");
}

} // namespace

SetupCheck::Result SetupCheck::run(HidBackend& hid, const QStringList& serialPorts,
                                   const QString& programDir) {
    Result result;
    QString out;
    out += QStringLiteral("USB (HID, vendor 0483 product 5750):\n");
    int units = 0;
    if (hid.available()) {
        for (const HidPnPInfo& info : hid.enumerate()) {
            int error = 0;
            const auto ident = hid.open(info.path, HidAccess::None, error);
            const auto attributes = ident ? ident->attributes() : std::nullopt;
            if (!attributes || attributes->vendorId != UnitVendor ||
                attributes->productId != UnitProduct)
                continue;
            ++units;
            error = 0;
            if (hid.open(info.path, HidAccess::ReadWrite, error)) {
                out += QStringLiteral("  %1: the unit, opens\n")
                           .arg(QString::fromStdString(info.path));
                result.unitOpens = true;
            } else {
                out += QStringLiteral("  %1: the unit, does not open: %2\n")
                           .arg(QString::fromStdString(info.path),
                                QString::fromUtf8(std::strerror(error)));
            }
        }
    } else {
        out += QStringLiteral("  the HID services are not available\n");
    }
    if (units == 0) out += QStringLiteral("  no unit found\n");

    out += QStringLiteral("Serial ports:\n");
    if (serialPorts.isEmpty()) out += QStringLiteral("  none\n");
    for (const QString& port : serialPorts)
        out += QStringLiteral("  %1\n").arg(port);

    const QString dir = QDir::cleanPath(programDir);
    out += QStringLiteral("Program folder: %1 (%2)\n").arg(dir, access(dir));
    out +=
        QStringLiteral("  mysetting.ini: %1\n").arg(access(dir + QStringLiteral("/mysetting.ini")));
    out += QStringLiteral("  logo.bmp: %1\n").arg(access(dir + QStringLiteral("/logo.bmp")));
    out += result.unitOpens ? QStringLiteral("The unit can be opened.\n")
                            : QStringLiteral("The unit cannot be opened over USB.\n");
    result.text = out.toStdString();
    return result;
}

QString SetupCheck::versions() {
    return QStringLiteral("Qt %1, hidapi %2")
        .arg(QString::fromLatin1(qVersion()), QString::fromLatin1(hid_version_str()));
}

} // namespace m7410
