#pragma once
// What the checker found: one finding a line, "PATH:LINE: error: ...", and the summary.

#include <cstdint>
#include <string>
#include <vector>

#include "base/ExitStatus.h"

namespace kelvane::check {

// Error: the ship, picture or script does not work (or the game cannot start).
// Warning: it works, but not as its maker will expect. Note: worth knowing, harmless.
enum class Severity : uint8_t { Error, Warning, Note };

struct Finding {
    std::string Path;
    int Line = 0;  // 1-based; 0 when the finding is about the whole file
    Severity Level = Severity::Error;
    std::string Message;
};

class Report {
public:
    void Add(const std::string& path, int line, Severity level, std::string message);
    void Error(const std::string& path, int line, std::string message) {
        Add(path, line, Severity::Error, std::move(message));
    }
    void Warning(const std::string& path, int line, std::string message) {
        Add(path, line, Severity::Warning, std::move(message));
    }
    void Note(const std::string& path, int line, std::string message) {
        Add(path, line, Severity::Note, std::move(message));
    }

    // Puts the findings added since `mark` (an earlier Findings().size()) in order: by file,
    // files in the order they first appear, then by line.
    void SortSince(size_t mark);

    const std::vector<Finding>& Findings() const { return findings_; }
    int Count(Severity level) const;
    // How kelvane --check ends: Failure when there is an error, else Success.
    ExitStatus Status() const { return Count(Severity::Error) > 0 ? ExitStatus::Failure : ExitStatus::Success; }

    // What was read, for the summary.
    int Definitions = 0;
    int Pictures = 0;
    int Scripts = 0;

    // "8 ship definitions, 8 pictures and 3 scripts checked: no errors, no warnings"
    std::string Summary() const;

private:
    std::vector<Finding> findings_;
};

// "PATH:LINE: error: MESSAGE"
std::string FormatFinding(const Finding& finding);

}  // namespace kelvane::check
