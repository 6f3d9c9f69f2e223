#include "Output.h"

#include "base/FailureReport.h"
#include "base/FileError.h"
#include "base/FileWriter.h"

namespace kelvane::sim {

Result<void> WriteOutput(const std::string& file, const std::string& text) {
    return Catching<FileError>(ExitStatus::WriteFailed, [&] {
        if (file == "-") WriteStandardOutput(text);
        else WriteFile(file, text);
    });
}

}  // namespace kelvane::sim
