#include "link/HidReportIo.h"

#include "link/HidDevice.h"
#include "link/HidUnitPicker.h"
#include "link/LinkLogging.h"
#include "link/TrafficLog.h"
#include "protocol/InboundSink.h"
#include "support/Clock.h"
#include "support/HexText.h"

#include <algorithm>
#include <cstring>

namespace m7410 {

namespace {

constexpr std::size_t MaxHeaderText = 2000;
constexpr std::size_t HeaderTextLength = 20; // the 10 header bytes
constexpr std::size_t LengthTextPos = 16;    // bytes 8..9: the big-endian data length
constexpr int BlockDataReports = 5;

QString hex2(uint8_t byte) {
    return QString::fromStdString(toHex(&byte, 1));
}

} // namespace

HidReportIo::HidReportIo(HidUnitPicker& picker, TrafficLog& log, InboundSink& sink, Clock& clock)
    : picker(picker), log(log), sink(sink) {
    assemblyTimer = clock.createTimer(
        AssemblyTimeoutMs,
        [this] {
            qCDebug(lcLink) << "dropping a message that stopped halfway:" << assemblyText.size() / 2
                            << "of" << messageLength + 12 << "bytes";
            resetAssembly();
        },
        true);
}

HidReportIo::~HidReportIo() = default;

QString HidReportIo::errorLine(const char* what, int code) {
    return QStringLiteral("%1: %2 (%3)")
        .arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(code)),
             QString::number(static_cast<unsigned>(code), 16).toUpper());
}

bool HidReportIo::writeReport() {
    HidDevice* device = picker.activeHidDevice();
    if (!device) return false;
    const auto length = static_cast<std::size_t>(
        std::clamp(device->ReportCaps().output, 0, static_cast<int>(OutputReportSize)));
    int written = 0;
    if (!device->WriteReport(outputReport.data(), length, written)) {
        log.AddToHistory(errorLine("WRITE ERROR", device->lastError()));
        return false;
    }
    QString line = QStringLiteral("W ") + hex2(outputReport[0]) + QStringLiteral("  ");
    const int shown = std::clamp(written, 1, static_cast<int>(OutputReportSize));
    for (int i = 1; i < shown; ++i)
        line += hex2(outputReport[static_cast<std::size_t>(i)]) + ' ';
    log.AddToHistory(line);
    return true;
}

void HidReportIo::UsbHidSendDataClick() {
    writeReport();
}

void HidReportIo::UsbHidSendBigData(const uint8_t* image) {
    if (!picker.activeHidDevice()) return;
    for (int k = 0; k < BlockDataReports; ++k) {
        outputReport[0] = 0;
        std::copy_n(image + k * ReportDataSize, ReportDataSize, outputReport.begin() + 1);
        if (!writeReport()) return;
    }
    // The sixth report carries checksum and end marker; the rest of it still holds the tail
    // of the fifth.
    outputReport[0] = 0;
    outputReport[1] = image[320];
    outputReport[2] = image[321];
    writeReport();
}

void HidReportIo::note(const QString& line) {
    log.AddToHistory(line);
}

void HidReportIo::resetAssembly() {
    assemblyTimer->stop();
    receiving = false;
    assemblyText.clear();
    messageLength = 0;
    reportCount = 0;
}

void HidReportIo::ShowRead(HidDevice*, uint8_t, const uint8_t* data, uint16_t size) {
    const std::string text = toHex(data, size);
    if (receiving) {
        assemblyTimer->stop();
        if (reportCount == messageLength / ReportDataSize) {
            // The last data bytes, the checksum and the end marker.
            const auto tail = static_cast<std::size_t>((messageLength % ReportDataSize + 2) * 2);
            assemblyText += text.substr(0, tail);
            std::string message = std::move(assemblyText);
            resetAssembly();
            sink.receiveText() = std::move(message);
            sink.ProcessReceived();
            return;
        }
        assemblyText += text;
        ++reportCount;
        assemblyTimer->start();
        return;
    }
    assemblyText = text.size() > MaxHeaderText ? std::string() : text;
    const int length = hexWordAt(assemblyText, LengthTextPos);
    if (assemblyText.compare(0, 6, "A5A5A5") != 0 || length < 0) {
        assemblyText.clear();
        return;
    }
    messageLength = length;
    assemblyText.resize(HeaderTextLength);
    reportCount = 0;
    receiving = true;
    assemblyTimer->start();
}

void HidReportIo::hidctlDeviceDataError(HidDevice*, int error) {
    log.AddToHistory(errorLine("READ ERROR", error));
}

} // namespace m7410
