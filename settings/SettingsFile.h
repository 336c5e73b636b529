// mysetting.ini beside the program: read at start-up, rewritten in place by the settings box.
#pragma once

#include "settings/PersonalSettings.h"

#include <QString>

#include <memory>
#include <optional>

namespace m7410 {

// "mysetting.ini" in the program's folder, read once at start-up and written by the
// personal-settings box. Saving rewrites only our seven keys: other sections, keys, comments,
// a byte-order mark and CR LF line ends of the file as it is on disk are kept, and the file
// is replaced atomically.
class SettingsFile {
public:
    explicit SettingsFile(QString path);
    ~SettingsFile();

    const QString& path() const { return filePath; }
    // The key's text in "Personal settings", or nothing when the file or the key is absent.
    std::optional<QString> text(const char* key) const;
    // The key's leading integer, 0 when absent or not a number.
    int integer(const char* key) const;
    // Everything the start-up reads, absent keys as empty texts and mode 0.
    PersonalSettings read() const;

    // False with a reason when the file cannot be written.
    bool save(const PersonalSettings& settings, QString& error);

private:
    // The file's contents as last read or written, parsed once.
    struct Parsed;

    QString filePath;
    std::unique_ptr<Parsed> parsed;
};

} // namespace m7410
