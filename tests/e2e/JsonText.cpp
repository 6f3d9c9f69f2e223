#include "JsonText.h"

namespace kelvane::testing {

nlohmann::json ParseJson(const std::string& text) { return nlohmann::json::parse(text); }

}  // namespace kelvane::testing
