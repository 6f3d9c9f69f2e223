#pragma once
// Colour values as the game's pictures and canvas take them: 24-bit 0xBBGGRR, or a
// system colour 0x80000000 + index of the desktop palette. There is no desktop here,
// so system colours resolve to the classic Windows defaults.
//
// Two special values:
//   clNone    (0x1FFFFFFF) means "no colour": a colour key of clNone keys out nothing,
//             a pen, brush or font of clNone draws nothing.
//   clDefault (0x20000000) is the default window text colour, black.
// Any other value uses its low 24 bits.

#include <cstdint>
#include <optional>

namespace kelvane {

inline constexpr uint32_t clNone = 0x1FFFFFFFu;
inline constexpr uint32_t clDefault = 0x20000000u;
inline constexpr uint32_t SystemColorBase = 0x80000000u;

// A key pixel that no surface pixel (0x00RRGGBB) can equal: the key of clNone.
inline constexpr uint32_t NoKeyPixel = 0xFF000000u;

// The 0xBBGGRR value of a colour; nothing for clNone. Unknown system colour
// indices give black, as the desktop does.
std::optional<uint32_t> ResolveColor(uint32_t color);

// The colour as a surface pixel 0x00RRGGBB; NoKeyPixel for clNone.
uint32_t ColorKeyPixel(uint32_t color);

}  // namespace kelvane
