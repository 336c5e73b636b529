#include "ctl/StreamedFile.h"

#include "ctl/StandardStreams.h"

#include <QDir>

#include <fstream>

namespace m7410 {

namespace {

std::shared_ptr<QTemporaryFile> created(std::string& error) {
    auto file = std::make_shared<QTemporaryFile>(QDir::tempPath() + "/m7410-ctl-XXXXXX");
    if (!file->open()) {
        error = "no temporary file: " + file->errorString().toStdString();
        return nullptr;
    }
    return file;
}

} // namespace

std::optional<StreamedFile> StreamedFile::forOutput(std::string& error) {
    StreamedFile f;
    f.file = created(error);
    if (!f.file) return std::nullopt;
    f.file->close();
    return f;
}

std::optional<StreamedFile> StreamedFile::forInput(std::istream& in, std::size_t limit,
                                                   std::string& error) {
    const std::optional<std::string> text = readBounded(in, limit, error);
    if (!text) return std::nullopt;
    StreamedFile f;
    f.file = created(error);
    if (!f.file) return std::nullopt;
    const auto size = static_cast<qint64>(text->size());
    if (f.file->write(text->data(), size) != size || !f.file->flush()) {
        error = "no temporary file: " + f.file->errorString().toStdString();
        return std::nullopt;
    }
    f.file->close();
    return f;
}

std::string StreamedFile::path() const {
    return file->fileName().toStdString();
}

bool StreamedFile::copyTo(std::ostream& out) const {
    std::ifstream in(path(), std::ios::binary);
    if (!in) return false;
    out << in.rdbuf();
    out.flush();
    return static_cast<bool>(out);
}

std::string StreamedFile::named(std::string message, const std::string& name) const {
    const std::string p = path();
    for (std::size_t at = message.find(p); at != std::string::npos; at = message.find(p, at))
        message.replace(at, p.size(), name);
    return message;
}

} // namespace m7410
