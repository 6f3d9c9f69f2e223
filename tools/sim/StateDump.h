#pragma once
// The whole state of a running game as JSON: every global by its name, the console,
// the three tables, and what the runner knows about errors, loading, pictures and sounds.

#include <cstdint>
#include <nlohmann/json.hpp>

namespace kelvane {
class TMainForm;
}

namespace kelvane::sim {

nlohmann::ordered_json DumpState(TMainForm& form, uint64_t tick);

}  // namespace kelvane::sim
