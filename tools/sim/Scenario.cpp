#include "Scenario.h"

#include <nlohmann/json.hpp>

#include "base/InputFile.h"
#include "game/MainForm.h"
#include "base/Windows1250.h"
#include "world/VirtualKeys.h"

namespace kelvane::sim {
namespace {

using nlohmann::json;

uint64_t WholeNumber(const json& value, const std::string& what) {
    if (!value.is_number_integer() || value.get<int64_t>() < 0) throw ScenarioError(what + " must be a whole number");
    return value.get<uint64_t>();
}

uint16_t KeyCode(const json& value, const std::string& what) {
    const uint64_t key = WholeNumber(value, what);
    if (key > 0xFFFF) throw ScenarioError(what + " must be a key code 0..65535");
    return static_cast<uint16_t>(key);
}

bool Flag(const json& step, const char* name, const std::string& where) {
    if (!step.contains(name)) return false;
    if (!step[name].is_boolean()) throw ScenarioError(where + ": \"" + name + "\" must be true or false");
    return step[name].get<bool>();
}

std::string ToGameText(const std::string& utf8) {
    return Utf8ToWindows1250(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size());
}

FieldValue ToFieldValue(const json& value, const std::string& where) {
    if (value.is_boolean()) return int64_t{value.get<bool>() ? 1 : 0};
    if (value.is_number_integer()) return value.get<int64_t>();
    if (value.is_number()) return value.get<double>();
    if (value.is_string()) return ToGameText(value.get<std::string>());
    throw ScenarioError(where + ": a field value must be a number, true/false or text");
}

ScenarioStep ParseStep(const json& step, size_t index) {
    const std::string where = "step " + std::to_string(index + 1);
    if (!step.is_object()) throw ScenarioError(where + " must be an object");
    ScenarioStep result;
    if (!step.contains("after")) throw ScenarioError(where + " needs \"after\"");
    result.After = WholeNumber(step["after"], where + ": \"after\"");
    int kinds = 0;
    if (step.contains("key")) {
        ++kinds;
        result.Kind = ScenarioStep::StepKind::Key;
        result.Key = KeyCode(step["key"], where + ": \"key\"");
        if (Flag(step, "shift", where)) result.Shift |= ssShift;
        if (Flag(step, "ctrl", where)) result.Shift |= ssCtrl;
        if (Flag(step, "alt", where)) result.Shift |= ssAlt;
    }
    if (step.contains("keys")) {
        ++kinds;
        result.Kind = ScenarioStep::StepKind::Keys;
        if (!step["keys"].is_array()) throw ScenarioError(where + ": \"keys\" must be a list of key codes");
        for (const json& key : step["keys"]) result.Keys.push_back(KeyCode(key, where + ": \"keys\""));
    }
    if (step.contains("mouse")) {
        ++kinds;
        result.Kind = ScenarioStep::StepKind::Mouse;
        const uint64_t button = WholeNumber(step["mouse"], where + ": \"mouse\"");
        if (button > 2) throw ScenarioError(where + ": \"mouse\" must be 0, 1 or 2");
        result.Button = static_cast<int>(button);
    }
    if (step.contains("command")) {
        ++kinds;
        result.Kind = ScenarioStep::StepKind::Command;
        if (!step["command"].is_string()) throw ScenarioError(where + ": \"command\" must be text");
        result.Command = ToGameText(step["command"].get<std::string>());
    }
    if (step.contains("set")) {
        ++kinds;
        result.Kind = ScenarioStep::StepKind::Set;
        if (!step["set"].is_object()) throw ScenarioError(where + ": \"set\" must be an object of fields");
        World probe;
        for (const auto& [name, value] : step["set"].items()) {
            FieldValue field = ToFieldValue(value, where);
            try {
                SetField(probe, name, field);  // the name must exist and take this kind of value
            } catch (const FieldError& error) {
                throw ScenarioError(where + ": " + error.what());
            }
            result.Fields.emplace_back(name, std::move(field));
        }
    }
    if (kinds != 1) {
        throw ScenarioError(where + " needs exactly one of \"key\", \"keys\", \"mouse\", \"command\", \"set\"");
    }
    return result;
}

}  // namespace

Scenario ParseScenario(const std::string& jsonText) {
    json document;
    try {
        document = json::parse(jsonText);
    } catch (const json::parse_error& error) {
        throw ScenarioError(std::string("not valid JSON: ") + error.what());
    }
    if (!document.is_object()) throw ScenarioError("a scenario must be a JSON object");
    Scenario scenario;
    for (const auto& [name, value] : document.items()) {
        if (name == "seed") {
            const uint64_t seed = WholeNumber(value, "\"seed\"");
            if (seed > 0xFFFFFFFFu) throw ScenarioError("\"seed\" must fit in 32 bits");
            scenario.Seed = static_cast<uint32_t>(seed);
        } else if (name == "frames") {
            scenario.Frames = WholeNumber(value, "\"frames\"");
        } else if (name == "steps") {
            if (!value.is_array()) throw ScenarioError("\"steps\" must be a list");
            for (size_t i = 0; i < value.size(); ++i) scenario.Steps.push_back(ParseStep(value[i], i));
        } else {
            throw ScenarioError("unknown scenario entry \"" + name + "\"");
        }
    }
    return scenario;
}

Scenario LoadScenario(const std::string& path) {
    std::string text;
    try {
        // A scenario of a million steps takes a few megabytes.
        text = ReadFileText(path, {uint64_t{16} << 20, "a scenario"}, InputFile::Accept::Streams);
    } catch (const InputFileError& error) {
        throw ScenarioError("cannot read scenario " + path + ": " + error.Reason);
    }
    return ParseScenario(text);
}

void ApplyStep(const ScenarioStep& step, TMainForm& form) {
    switch (step.Kind) {
        case ScenarioStep::StepKind::Key:
            form.KeyPressed(step.Key, step.Shift);
            break;
        case ScenarioStep::StepKind::Keys:
            for (uint16_t key : step.Keys) form.KeyPressed(key, 0);
            break;
        case ScenarioStep::StepKind::Mouse:
            form.MouseClick(step.Button, 0, 0, 0);
            break;
        case ScenarioStep::StepKind::Command:
            form.DoConsoleCommand(step.Command);
            break;
        case ScenarioStep::StepKind::Set:
            for (const auto& [name, value] : step.Fields) {
                try {
                    form.SetWorldField(name, value);
                } catch (const FieldError& error) {
                    throw ScenarioError(std::string("step after ") + std::to_string(step.After) + ": " + error.what());
                }
            }
            break;
    }
}

}  // namespace kelvane::sim
