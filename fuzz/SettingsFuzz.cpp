// libFuzzer target: any "mysetting.ini" read at start-up and then rewritten by the personal
// settings box's "save" with any field texts.
#include "Finding.h"
#include "FuzzInput.h"
#include "TempFolder.h"

#include "settings/SettingsFile.h"

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace m7410;

namespace {

QString filePath;

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string trimmed(const std::string& s) {
    const auto space = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t b = 0, e = s.size();
    while (b < e && space(s[b]))
        ++b;
    while (e > b && space(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

using KeyName = std::pair<std::string, std::string>; // section, key; both without case

// The keys a file holds, read line by line apart from the INI library: "[section]" lines,
// "key=value" lines, comments after ';' or '#' at a line's start. Every byte counts, so a file
// the library reads only in part shows more keys here than in what a save makes of it.
std::set<KeyName> keysOf(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    std::set<KeyName> keys;
    std::string section;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            const std::size_t close = line.find(']');
            if (close != std::string::npos) section = lower(trimmed(line.substr(1, close - 1)));
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        keys.insert({section, lower(trimmed(line.substr(0, eq)))});
    }
    return keys;
}

const std::vector<const char*> OurKeys{SettingsKey::Name,        SettingsKey::ChannelMode,
                                       SettingsKey::MainChannel, SettingsKey::OutputOne,
                                       SettingsKey::OutputTwo,   SettingsKey::OutputThree,
                                       SettingsKey::Version};

bool isOurs(const KeyName& k) {
    if (k.first != lower(SettingsKey::Section)) return false;
    for (const char* key : OurKeys)
        if (k.second == lower(key)) return true;
    return false;
}

QByteArray readAll() {
    QFile f(filePath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const std::string& bytes) {
    QFile f(filePath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        fuzz::fail("cannot write the file");
}

// A field's text as the box can hold it: no line breaks or other control characters.
QString fieldText(fuzz::FuzzInput& in) {
    std::vector<uint8_t> bytes = in.take(in.byte() % 64);
    for (uint8_t& b : bytes)
        if (b < 0x20 && b != '\t') b = '?';
    return QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

std::string text(const QByteArray& bytes) {
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string dir = fuzz::makeTempFolder("settings_fuzz");
    if (dir.empty()) fuzz::fail("no temporary folder");
    filePath = QString::fromStdString(dir) + QStringLiteral("/mysetting.ini");
    return 0;
}

// Input: the channel mode (two bytes), six field texts (a length byte and the bytes each),
// then the file's contents.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    PersonalSettings values;
    values.channelMode = static_cast<int16_t>(in.word());
    values.name = fieldText(in);
    values.mainChannel = fieldText(in);
    values.outputOne = fieldText(in);
    values.outputTwo = fieldText(in);
    values.outputThree = fieldText(in);
    values.version = fieldText(in);
    const std::vector<uint8_t> file = in.rest();
    const std::string before(file.begin(), file.end());
    writeAll(before);

    SettingsFile settings(filePath);
    (void)settings.read();
    QString error;
    if (!settings.save(values, error)) {
        if (error.isEmpty()) fuzz::fail("a save failed without a reason");
        if (text(readAll()) != before) fuzz::fail("a refused save changed the file");
        return 0;
    }
    const std::string after = text(readAll());

    // Our keys read back as saved; the INI format keeps no blanks at a value's ends, and UTF-8
    // decoding takes a byte-order mark that then starts a value for a mark, not a character.
    const PersonalSettings back = SettingsFile(filePath).read();
    const auto same = [](const QString& saved, const QString& read) {
        std::string expected = trimmed(saved.toStdString());
        if (expected.rfind("\xEF\xBB\xBF", 0) == 0) expected.erase(0, 3);
        return expected == read.toStdString();
    };
    if (back.channelMode != values.channelMode) fuzz::fail("the channel mode reads back otherwise");
    const std::pair<const QString*, const QString*> texts[] = {
        {&values.name, &back.name},
        {&values.mainChannel, &back.mainChannel},
        {&values.outputOne, &back.outputOne},
        {&values.outputTwo, &back.outputTwo},
        {&values.outputThree, &back.outputThree},
        {&values.version, &back.version}};
    for (const auto& [saved, read] : texts)
        if (!same(*saved, *read))
            fuzz::fail("saved \"" + saved->toStdString() + "\" reads back as \"" +
                       read->toStdString() + "\"");

    // Every other key survives with its value; nothing else appears.
    std::set<KeyName> expected = keysOf(before);
    for (const char* key : OurKeys)
        expected.insert({lower(SettingsKey::Section), lower(key)});
    const std::set<KeyName> found = keysOf(after);
    if (found != expected) {
        std::string diff;
        for (const KeyName& k : expected)
            if (!found.count(k)) diff += " lost [" + k.first + "] " + k.second + ";";
        for (const KeyName& k : found)
            if (!expected.count(k)) diff += " new [" + k.first + "] " + k.second + ";";
        fuzz::fail("the save changed which keys the file holds:" + diff);
    }
    CSimpleIniA was, now;
    was.SetUnicode(true);
    now.SetUnicode(true);
    was.LoadData(before);
    now.LoadData(after);
    for (const KeyName& k : keysOf(before)) {
        if (isOurs(k)) continue;
        const char* a = was.GetValue(k.first.c_str(), k.second.c_str(), nullptr);
        const char* b = now.GetValue(k.first.c_str(), k.second.c_str(), nullptr);
        if ((a == nullptr) != (b == nullptr) || (a && std::string(a) != b))
            fuzz::fail("the save changed the value of another key");
    }

    // The file keeps its style: byte-order mark, and CR LF when it had them (or was new).
    const bool bom = before.rfind("\xEF\xBB\xBF", 0) == 0;
    if ((after.rfind("\xEF\xBB\xBF", 0) == 0) != bom) fuzz::fail("the byte-order mark changed");
    // A CR of its own may stay where the file had one, inside a comment.
    const bool crlf = before.empty() || before.find("\r\n") != std::string::npos;
    bool bareCr = false;
    for (std::size_t i = 0; i < before.size(); ++i)
        bareCr = bareCr || (before[i] == '\r' && (i + 1 == before.size() || before[i + 1] != '\n'));
    for (std::size_t i = 0; i < after.size(); ++i) {
        const bool lf = after[i] == '\n', cr = after[i] == '\r';
        const bool crOfItsOwn = cr && (i + 1 == after.size() || after[i + 1] != '\n');
        if (crlf && lf && (i == 0 || after[i - 1] != '\r')) fuzz::fail("a bare LF in a CR LF file");
        if (crOfItsOwn && !bareCr) fuzz::fail("a bare CR the file did not have");
        if (!crlf && cr && !crOfItsOwn) fuzz::fail("a CR LF in an LF file");
    }
    // Saving the same values again keeps every key and every line; the library places a
    // comment's blank lines otherwise at times, which is all that may change.
    const auto lines = [](const std::string& file) {
        std::vector<std::string> out;
        std::size_t start = file.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
        while (start < file.size()) {
            std::size_t end = file.find_first_of("\r\n", start);
            if (end == std::string::npos) end = file.size();
            if (end > start) out.push_back(file.substr(start, end - start));
            start = end + 1;
        }
        return out;
    };
    for (int save = 2; save <= 3; ++save) {
        if (!settings.save(values, error)) fuzz::fail("a later save failed");
        const std::string again = text(readAll());
        if (lines(again) != lines(after))
            fuzz::fail("a later save wrote other lines:\n" + after + "\n---\n" + again);
    }
    return 0;
}
