#include "Output.h"

#include <cstdio>
#include <fstream>

namespace kelvane::sim {

bool WriteOutput(const std::string& file, const std::string& text) {
    if (file == "-") {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        return true;
    }
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out) std::fprintf(stderr, "kelvane-sim: cannot write %s\n", file.c_str());
    return static_cast<bool>(out);
}

}  // namespace kelvane::sim
