#pragma once
// The real inputs that the world's rules can meet: headings, speeds, distances and the
// integer ranges of the bearings and of the definition and damage formulas.

#include <cstdint>
#include <vector>

namespace kelvane::precision {

// Whole and quarter degrees of a full turn: every heading of the computer's ships
// (placed at 0, 90 or 180, turned by halves), of projectiles (launched at whole degrees,
// turned by halves) and of the player's ship while a turn key is held (0.75 a step).
std::vector<double> QuarterDegreeHeadings();
// The headings of a player's turn let go: from every whole degree, each held turn rate
// (0.75, 1.5, 2.25, either way) slowed by 0.005 a frame until it snaps to 0, stepped by
// the game's own HeadingStep. These sums of inexact steps are only a sample of the
// player's headings, whose number grows without end with ever new turn sequences.
std::vector<double> ReleasedTurnHeadings();
// 0 to 20 in halves: every ship speed (4 and up by 0.5, the computer's 6) and every
// projectile speed (9 to 17).
std::vector<double> SpeedsInPlay();

// Coordinate differences within the flight area (projectiles live up to 32 pixels beyond
// the 2048 x 1536 field).
inline constexpr int32_t LargestDx = 2111;
inline constexpr int32_t LargestDy = 1599;
// Distances for placing points around a ship (hit tests, explosion parts).
inline constexpr int32_t LargestDistance = 2600;

}  // namespace kelvane::precision
