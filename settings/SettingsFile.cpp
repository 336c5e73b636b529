#include "settings/SettingsFile.h"

#include "support/AtomicFile.h"
#include "support/PlainFile.h"

// Only the narrow reader is used; texts pass through as UTF-8 bytes.
#define SI_NO_CONVERSION
// Debian keeps the template bodies behind this switch; only this file instantiates them.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace m7410 {

namespace {

std::string toStdString(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// At start-up a file that cannot be taken is reported and counts as absent.
std::string readAtStart(const QString& path) {
    const PlainFile file = PlainFile::read(path, PlainFile::SettingsLimit);
    if (file.status == PlainFile::Status::Refused) {
        std::fprintf(stderr, "m7410: %s: %s; starting without the settings\n", qPrintable(path),
                     qPrintable(file.reason));
    }
    return toStdString(file.bytes);
}

constexpr const char* Bom = "\xEF\xBB\xBF";

// Whether the INI reader takes the whole file as it was meant; a save would otherwise lose or
// mangle what it misread. The reader stops at a zero byte (a UTF-16 file has one in every
// character); it takes a byte-order mark that starts a line (two files joined) for part of the
// line, so a section name after it is lost and its keys join the section before; and it takes
// a line "[name" without its ']' together with the next line for a section name.
bool readsWhole(const std::string& s) {
    if (s.find('\0') != std::string::npos) return false;
    std::size_t start = s.rfind(Bom, 0) == 0 ? 3 : 0;
    while (start < s.size()) {
        std::size_t end = s.find_first_of("\r\n", start);
        if (end == std::string::npos) end = s.size();
        const std::size_t first = s.find_first_not_of(" \t", start);
        if (first < end && s.compare(first, 3, Bom) == 0) return false;
        if (first < end && s[first] == '[' && s.find(']', first) >= end) return false;
        start = end + 1;
    }
    return true;
}

bool startsWithBom(const std::string& s) {
    return s.rfind(Bom, 0) == 0;
}

// Windows INI files carry no spaces around '=' and are read with either line end.
void configure(CSimpleIniA& ini) {
    ini.SetUnicode(true);
    ini.SetSpaces(false);
    ini.SetMultiKey(false);
    ini.SetMultiLine(false);
}

} // namespace

struct SettingsFile::Parsed {
    CSimpleIniA ini;
    bool readable = false;

    explicit Parsed(const std::string& contents) {
        configure(ini);
        readable = ini.LoadData(contents) >= 0;
    }
};

SettingsFile::SettingsFile(QString path)
    : filePath(std::move(path)), parsed(std::make_unique<Parsed>(readAtStart(filePath))) {}

SettingsFile::~SettingsFile() = default;

std::optional<QString> SettingsFile::text(const char* key) const {
    if (!parsed->readable) return std::nullopt;
    const char* value = parsed->ini.GetValue(SettingsKey::Section, key, nullptr);
    if (value == nullptr) return std::nullopt;
    return QString::fromUtf8(value);
}

int SettingsFile::integer(const char* key) const {
    const std::optional<QString> t = text(key);
    if (!t) return 0;
    // Like the platform's INI reader: the leading digits count, anything else gives 0.
    const QByteArray bytes = t->trimmed().toLatin1();
    char* end = nullptr;
    const long v = std::strtol(bytes.constData(), &end, 10);
    if (end == bytes.constData() || v < INT_MIN || v > INT_MAX) return 0;
    return static_cast<int>(v);
}

PersonalSettings SettingsFile::read() const {
    const auto get = [this](const char* key) { return text(key).value_or(QString()); };
    return {get(SettingsKey::Name),        integer(SettingsKey::ChannelMode),
            get(SettingsKey::MainChannel), get(SettingsKey::OutputOne),
            get(SettingsKey::OutputTwo),   get(SettingsKey::OutputThree),
            get(SettingsKey::Version)};
}

bool SettingsFile::save(const PersonalSettings& s, QString& error) {
    // Start from the file as it is now, so edits made to it meanwhile survive.
    // A file that cannot be read is not replaced by our keys alone: what it holds would be lost.
    const PlainFile file = PlainFile::read(filePath, PlainFile::SettingsLimit);
    if (file.status == PlainFile::Status::Refused) {
        error = QStringLiteral("Settings not saved: %1: %2").arg(filePath, file.reason);
        return false;
    }
    const std::string onDisk = toStdString(file.bytes);
    CSimpleIniA ini;
    configure(ini);
    if (!readsWhole(onDisk) || ini.LoadData(onDisk) < 0) {
        error =
            QStringLiteral("Settings not saved: %1: cannot be read as an INI file").arg(filePath);
        return false;
    }
    const auto set = [&ini](const char* key, const QString& value) {
        ini.SetValue(SettingsKey::Section, key, value.toUtf8().constData());
    };
    set(SettingsKey::Name, s.name);
    ini.SetLongValue(SettingsKey::Section, SettingsKey::ChannelMode, s.channelMode);
    set(SettingsKey::MainChannel, s.mainChannel);
    set(SettingsKey::OutputOne, s.outputOne);
    set(SettingsKey::OutputTwo, s.outputTwo);
    set(SettingsKey::OutputThree, s.outputThree);
    set(SettingsKey::Version, s.version);

    std::string out;
    if (ini.Save(out, startsWithBom(onDisk)) < 0) {
        error = QStringLiteral("Settings not saved: %1: cannot be written").arg(filePath);
        return false;
    }
    if (onDisk.find("\r\n") != std::string::npos || onDisk.empty()) {
        std::string crlf;
        crlf.reserve(out.size() + out.size() / 16);
        for (char c : out) {
            if (c == '\n') crlf += '\r';
            crlf += c;
        }
        out.swap(crlf);
    }

    // Installed into a system folder, the program folder is the usual reason: the writer says
    // "permission denied" plainly.
    QString reason;
    if (!writeFileAtomically(filePath, QByteArray(out.data(), static_cast<qsizetype>(out.size())),
                             reason)) {
        error = QStringLiteral("Settings not saved: %1: %2").arg(filePath, reason);
        return false;
    }
    parsed = std::make_unique<Parsed>(out);
    return true;
}

} // namespace m7410
