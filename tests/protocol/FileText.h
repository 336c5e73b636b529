// A whole file as it is on disk, for tests.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace m7410::test {

// A whole file as it is on disk (line ends included); empty when it cannot be read.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

} // namespace m7410::test
