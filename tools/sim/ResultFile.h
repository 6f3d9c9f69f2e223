#pragma once
// The JSON file of a tournament or of one part of it: its settings, every duel in
// tournament order and the table. Nothing in it depends on timing, threads or how the
// tournament was split, so the same tournament gives the same bytes however it ran.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "TournamentResults.h"
#include "base/InputFile.h"

namespace kelvane::sim {

class ResultFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A result file is a few megabytes even for every pair of 64 types played 200 times.
inline constexpr FileLimit ResultFileLimit{uint64_t{64} << 20, "a tournament's result file"};

// The file's text. Its last member is "checksum": the xxHash64 of every byte before that
// line, so a result changed by hand or damaged on the way is found when parts are merged.
std::string ResultJson(const TournamentResults& results, const std::vector<TableRow>& table);
// The checksum line and the end of the file, for the text before it.
std::string ResultFileSeal(std::string_view body);
// Throws ResultFileError naming the file and what is wrong with it (the checksum too).
// The JSON is read as a stream: its duels are kept as records, never as a whole document.
TournamentResults ParseResultJson(const std::string& text, const std::string& fileName);
// The same from a file, which must be a regular file within ResultFileLimit.
TournamentResults ReadResultFile(const std::string& path);

// The parts of one tournament made whole. Throws ResultFileError when they belong to
// different tournaments, overlap, or leave a duel out.
TournamentResults MergeParts(const std::vector<TournamentResults>& parts, const std::vector<std::string>& fileNames);

}  // namespace kelvane::sim
