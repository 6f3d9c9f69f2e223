#pragma once
// A scenario: events applied between ticks, as if they came from the keyboard, the
// mouse or the console, plus direct writes of world fields.
//   {"seed": N, "frames": N, "steps": [{"after": K, ...}, ...]}

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "world/FieldRegistry.h"

namespace kelvane {
class TMainForm;
}

namespace kelvane::sim {

class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ScenarioStep {
    enum class StepKind { Key, Keys, Mouse, Command, Set };
    uint64_t After = 0;
    StepKind Kind = StepKind::Key;
    uint16_t Key = 0;
    uint8_t Shift = 0;               // ShiftState of a single key
    std::vector<uint16_t> Keys;      // several key-downs in order
    int Button = 0;
    std::string Command;             // 8-bit Windows-1250 text
    std::vector<std::pair<std::string, FieldValue>> Fields;
};

struct Scenario {
    std::optional<uint32_t> Seed;
    std::optional<uint64_t> Frames;
    std::vector<ScenarioStep> Steps;  // in file order
};

// Throws ScenarioError naming the step and what is wrong.
Scenario ParseScenario(const std::string& jsonText);
Scenario LoadScenario(const std::string& path);

// Applies one step to the form; a bad field name throws ScenarioError.
void ApplyStep(const ScenarioStep& step, TMainForm& form);

}  // namespace kelvane::sim
