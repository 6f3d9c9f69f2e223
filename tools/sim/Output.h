#pragma once
// Writing the runner's text outputs (dumps, result files): to a file, whole or not at
// all, or to standard output for "-", flushed and checked.

#include <string>

#include "base/Result.h"

namespace kelvane::sim {

// A failure (WriteFailed) names the file, or standard output, with the system's reason.
Result<void> WriteOutput(const std::string& file, const std::string& text);

}  // namespace kelvane::sim
