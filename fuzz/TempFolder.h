// A scratch folder for the files a fuzz target writes, in memory where possible.
#pragma once

#include <cstdlib>
#include <string>

#include <stdlib.h>
#include <sys/stat.h>

namespace m7410::fuzz {

// A fresh folder for the files a target writes, in memory where the system has such a
// folder: saves sync to disk, which would cost more than the rest of a run. Empty on failure.
inline std::string makeTempFolder(const std::string& name) {
    struct stat st {};
    const char* base = std::getenv("TMPDIR");
    if (!base || !*base)
        base = stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
    std::string path = std::string(base) + "/" + name + ".XXXXXX";
    return mkdtemp(path.data()) ? path : std::string();
}

} // namespace m7410::fuzz
