// A temporary runtime folder for the lifetime of a test, so sockets never land in the user's own.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace m7410::test {

// Points XDG_RUNTIME_DIR at a fresh folder, and back (or unset) when it goes.
class TemporaryRuntime {
public:
    TemporaryRuntime() : saved(qgetenv("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    }
    ~TemporaryRuntime() {
        if (saved.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", saved);
    }
    TemporaryRuntime(const TemporaryRuntime&) = delete;
    TemporaryRuntime& operator=(const TemporaryRuntime&) = delete;

    QString path() const { return dir.path(); }
    QString filePath(const QString& name) const { return dir.filePath(name); }

private:
    QTemporaryDir dir;
    QByteArray saved;
};

} // namespace m7410::test
