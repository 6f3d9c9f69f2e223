#pragma once
// The JSON file of a tournament or of one part of it: its settings, every duel in
// tournament order and the table. Nothing in it depends on timing, threads or how the
// tournament was split, so the same tournament gives the same bytes however it ran.

#include <stdexcept>
#include <string>
#include <vector>

#include "TournamentResults.h"

namespace kelvane::sim {

class ResultFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string ResultJson(const TournamentResults& results, const std::vector<TableRow>& table);
// Throws ResultFileError naming the file and what is wrong with it.
TournamentResults ParseResultJson(const std::string& text, const std::string& fileName);
TournamentResults ReadResultFile(const std::string& path);

// The parts of one tournament made whole. Throws ResultFileError when they belong to
// different tournaments, overlap, or leave a duel out.
TournamentResults MergeParts(const std::vector<TournamentResults>& parts, const std::vector<std::string>& fileNames);

}  // namespace kelvane::sim
