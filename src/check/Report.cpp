#include "check/Report.h"

#include <algorithm>
#include <map>

namespace kelvane::check {
namespace {

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

const char* LevelName(Severity level) {
    switch (level) {
        case Severity::Error:
            return "error";
        case Severity::Warning:
            return "warning";
        case Severity::Note:
            break;
    }
    return "note";
}

}  // namespace

void Report::Add(const std::string& path, int line, Severity level, std::string message) {
    findings_.push_back({path, line, level, std::move(message)});
}

void Report::SortSince(size_t mark) {
    if (mark >= findings_.size()) return;
    std::map<std::string, size_t> fileRank;
    for (size_t i = mark; i < findings_.size(); ++i) fileRank.emplace(findings_[i].Path, fileRank.size());
    std::stable_sort(findings_.begin() + static_cast<std::ptrdiff_t>(mark), findings_.end(),
                     [&](const Finding& a, const Finding& b) {
                         const size_t rankA = fileRank[a.Path], rankB = fileRank[b.Path];
                         return rankA != rankB ? rankA < rankB : a.Line < b.Line;
                     });
}

int Report::Count(Severity level) const {
    return static_cast<int>(std::count_if(findings_.begin(), findings_.end(),
                                          [level](const Finding& finding) { return finding.Level == level; }));
}

std::string Report::Summary() const {
    const int errors = Count(Severity::Error), warnings = Count(Severity::Warning), notes = Count(Severity::Note);
    std::string summary = Counted(Definitions, "ship definition", "ship definitions") + ", " +
                          Counted(Pictures, "picture", "pictures") + " and " + Counted(Scripts, "script", "scripts") +
                          " checked: " + (errors == 0 ? std::string("no errors") : Counted(errors, "error", "errors")) +
                          ", " +
                          (warnings == 0 ? std::string("no warnings") : Counted(warnings, "warning", "warnings"));
    if (notes > 0) summary += ", " + Counted(notes, "note", "notes");
    return summary;
}

std::string FormatFinding(const Finding& finding) {
    return finding.Path + ":" + std::to_string(finding.Line) + ": " + LevelName(finding.Level) + ": " + finding.Message;
}

}  // namespace kelvane::check
