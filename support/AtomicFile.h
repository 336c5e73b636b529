// Writing a file whole or not at all, and only over a regular file or a new name.
#pragma once

#include <QByteArray>
#include <QString>

namespace m7410 {

// Whether a file can be written at path: its folder exists and may be written, and what the
// path names now, if anything, is a regular file that may be written. A symbolic link counts
// as the file it leads to; a link that leads nowhere is refused. On refusal, reason holds one
// line: "not a regular file", "no such folder", "permission denied" or the system's words.
// With FolderWords::Named a folder at the path is "is a folder", the commonest slip of a typed
// path (one without its file name); the window's messages keep the plain words.
enum class FolderWords { Plain, Named };
bool checkWritable(const QString& path, QString& reason, FolderWords words = FolderWords::Plain);

// Writes bytes to a new file beside the target and renames it over the target once it is
// complete, so a failed write leaves the old file as it was. Refuses, with the reasons of
// checkWritable, anything but a regular file or a new name: a device node or a pipe at the
// path is never replaced. Through a symbolic link the link's target is replaced, the link kept.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString& reason);

} // namespace m7410
