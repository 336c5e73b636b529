// The text m7410-ctl --help prints.
#pragma once

#include <string>

namespace m7410 {

std::string helpText();

} // namespace m7410
