// "-" for the unit's file transfers: a temporary regular file between them and the stream.
#pragma once

#include <QTemporaryFile>

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace m7410 {

// The unit reads and writes preset files by path, atomically and only as regular files; a
// stream is neither. So standard input is copied into a temporary file first, and a file
// written for standard output is copied to it afterwards. Removed when it goes.
class StreamedFile {
public:
    // An empty file for the unit to write.
    static std::optional<StreamedFile> forOutput(std::string& error);
    // The stream's bytes, up to limit (more is an error).
    static std::optional<StreamedFile> forInput(std::istream& in, std::size_t limit,
                                                std::string& error);

    std::string path() const;
    // The file as it now stands (the unit replaced it whole), onto out.
    bool copyTo(std::ostream& out) const;
    // A message with the temporary path put as the stream's name ("standard input").
    std::string named(std::string message, const std::string& name) const;

private:
    std::shared_ptr<QTemporaryFile> file;
};

} // namespace m7410
