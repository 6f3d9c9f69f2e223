// kelvane-precision: prints the digests of the world's real arithmetic over the inputs in
// play. Every processor must print the same lines (tests/combat/data/precision-digests.txt).
#include <cstdio>

#include "PrecisionDigests.h"

int main() {
    std::fputs(kelvane::precision::FormatDigests(kelvane::precision::WorldArithmeticDigests()).c_str(), stdout);
    return 0;
}
