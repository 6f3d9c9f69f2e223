#pragma once
// Digests of the world's real arithmetic over the inputs in play (WorldInputs.h): each a
// running hash of every result, bit for bit, so two processors compare in a few lines.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/Extended.h"

namespace kelvane::precision {

struct Digest {
    std::string Name;
    uint64_t Count = 0;
    uint64_t Hash = 0;
};

// Operand pairs for the arithmetic: each value is numerator / denominator, from a fixed
// sequence covering integers, halves, the rules' constants and wide-ranging ratios.
struct RatioOperand {
    int64_t Numerator;
    int64_t Denominator;
};
std::vector<std::pair<RatioOperand, RatioOperand>> ArithmeticOperands();

// The heading's angle within its quarter turn, as HeadingStep takes it (exact).
double AngleInQuadrant(double heading);

std::vector<Digest> WorldArithmeticDigests();
// One line per digest: name, count and hash.
std::string FormatDigests(const std::vector<Digest>& digests);

}  // namespace kelvane::precision
