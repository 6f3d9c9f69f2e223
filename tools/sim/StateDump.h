#pragma once
// The whole state of a running game as JSON: every global by its name, the console,
// the three tables, and what the runner knows about errors, loading, pictures and sounds.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

namespace kelvane {
class TMainForm;
}

namespace kelvane::sim {

// wavePlays: how often each sound was started, when not the wave list's own count (a
// network game counts the sounds of its confirmed frames, the same on every machine).
nlohmann::ordered_json DumpState(TMainForm& form, uint64_t tick, const std::vector<uint64_t>* wavePlays = nullptr);

}  // namespace kelvane::sim
