#pragma once
// JSON text read into values. The parser is the heaviest part of the JSON library to
// compile: built once here (JsonText.cpp) rather than in every test file, a test file of
// the sanitizer build takes 11 s to build instead of 20 s.

#include <nlohmann/json.hpp>
#include <string>

namespace kelvane::testing {

nlohmann::json ParseJson(const std::string& text);

}  // namespace kelvane::testing
