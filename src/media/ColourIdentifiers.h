#pragma once
// The names a colour property may be written with in an archive ("clLime", "clBtnFace",
// ...): 22 plain colours and 27 system colours (0x80000000 + the system colour index).
// Every value has exactly one name.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelvane {

// The value of a colour name, compared without regard to letter case.
std::optional<uint32_t> ColourFromIdentifier(std::string_view name);
// The name of a colour value, or nullptr when the value has none.
const char* IdentifierOfColour(uint32_t value);

}  // namespace kelvane
