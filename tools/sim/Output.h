#pragma once
// Writing the runner's text outputs: to a file, or to standard output for "-".

#include <string>

namespace kelvane::sim {

// False (with a line on standard error) when the file cannot be written.
bool WriteOutput(const std::string& file, const std::string& text);

}  // namespace kelvane::sim
