// show and diff: preset files looked at and compared without the unit.
#pragma once

#include "ctl/PresetFileContents.h"

#include <istream>
#include <ostream>
#include <string>

namespace m7410 {

// The streams an offline command uses; in serves a file named "-".
struct OfflineIo {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool json = false;
};

// A file's preset names; with json every parameter of every set as well. Exit code.
int showCommand(const std::string& file, OfflineIo io);
// The paths in which file b differs from file a, with both values. Exit code: 0 whether or not
// they differ (json says "same"), 1 when a file cannot be read or the kinds do not match.
int diffFilesCommand(const std::string& a, const std::string& b, OfflineIo io);
// The comparison itself, for a file against the unit too; labels name the two sides.
int printDifferences(const PresetFileContents& before, const PresetFileContents& after,
                     const std::string& beforeLabel, const std::string& afterLabel, OfflineIo io);

} // namespace m7410
