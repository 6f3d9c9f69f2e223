#include "PrecisionDigests.h"

#include <cmath>

#include "WorldInputs.h"
#include "base/ExtendedMath.h"
#include "base/Hash64.h"
#include "base/Rounding.h"
#include "combat/Geometry.h"
#include "combat/Trigonometry.h"

namespace kelvane::precision {

namespace {

// Results are hashed a few thousand at a time.
class Recorder {
public:
    explicit Recorder(std::string name) { digest_.Name = std::move(name); }
    void Add(int64_t value) {
        pending_.push_back(value);
        ++digest_.Count;
        if (pending_.size() == 4096) Flush();
    }
    void Add(Extended value) {
        Add(value.Negative() ? -int64_t{1} : 1);
        Add(value.Exponent());
        Add(static_cast<int64_t>(value.Significand()));
    }
    Digest Result() {
        Flush();
        return digest_;
    }

private:
    void Flush() {
        if (pending_.empty()) return;
        digest_.Hash = Hash64(pending_.data(), pending_.size() * sizeof(int64_t), digest_.Hash);
        pending_.clear();
    }
    Digest digest_;
    std::vector<int64_t> pending_;
};

std::vector<double> AllHeadings() {
    std::vector<double> headings = QuarterDegreeHeadings();
    const std::vector<double> released = ReleasedTurnHeadings();
    headings.insert(headings.end(), released.begin(), released.end());
    return headings;
}

Digest Arithmetic() {
    Recorder record("arithmetic");
    for (const auto& [a, b] : ArithmeticOperands()) {
        const Extended x = Extended::Ratio(a.Numerator, a.Denominator);
        const Extended y = Extended::Ratio(b.Numerator, b.Denominator);
        record.Add(x + y);
        record.Add(x - y);
        record.Add(x * y);
        record.Add(x / y);
        record.Add(RoundEven(x * y));
        record.Add(static_cast<int64_t>(std::bit_cast<uint64_t>((x / y).ToDouble())));
    }
    return record.Result();
}

// Sines and cosines of every heading, and their products with every speed rounded as a
// move rounds them.
std::vector<Digest> HeadingFunctions() {
    Recorder functions("sines and cosines"), moves("rounded moves");
    const std::vector<double> speeds = SpeedsInPlay();
    for (double heading : AllHeadings()) {
        const SineCosine h = SinCosDegrees(AngleInQuadrant(heading));
        functions.Add(h.Sin);
        functions.Add(h.Cos);
        for (double speed : speeds) {
            moves.Add(RoundEven(h.Sin * Extended(speed)));
            moves.Add(RoundEven(h.Cos * Extended(speed)));
        }
    }
    return {functions.Result(), moves.Result()};
}

Digest HeadingSteps() {
    Recorder record("heading steps");
    for (double heading : QuarterDegreeHeadings()) {
        for (double speed : SpeedsInPlay()) {
            int32_t x = 1000, y = 800;
            double turned = heading;
            HeadingStep(x, y, speed, turned, 0.0);
            record.Add(x);
            record.Add(y);
        }
    }
    return record.Result();
}

Digest PolarOffsets() {
    Recorder record("polar offsets");
    for (int32_t angle = 0; angle < 360; ++angle) {
        for (int32_t d = 0; d <= LargestDistance; ++d) {
            record.Add(PolarOffset(0, 0, d, "X", angle));
            record.Add(PolarOffset(0, 0, d, "Y", angle));
        }
    }
    return record.Result();
}

Digest Bearings() {
    Recorder record("bearings");
    for (int64_t a = 1; a <= LargestDx; ++a)
        for (int64_t b = 1; b <= LargestDx; ++b) record.Add(RoundedArcTanDegrees(a, b));
    return record.Result();
}

Digest Arctangents() {
    Recorder record("arctangents");
    for (int64_t a = 1; a <= 256; ++a)
        for (int64_t b = 1; b <= 256; ++b) record.Add(Atan(Extended::Ratio(a, b)));
    return record.Result();
}

Digest Distances() {
    Recorder record("distances");
    for (int32_t dx = 1; dx <= LargestDx; ++dx) {
        for (int32_t dy = 1; dy <= LargestDy; ++dy) {
            int32_t distance = 0;
            AngleAndDistance(0, 0, dx, dy, distance);
            record.Add(distance);
        }
    }
    return record.Result();
}

}  // namespace

std::vector<std::pair<RatioOperand, RatioOperand>> ArithmeticOperands() {
    // A fixed linear congruential sequence: the same operands on every machine.
    uint64_t state = 0x9E3779B97F4A7C15;
    const auto next = [&state] {
        state = state * 6364136223846793005 + 1442695040888963407;
        return state >> 11;
    };
    const auto operand = [&next]() -> RatioOperand {
        const uint64_t kind = next() % 4;
        const int64_t sign = next() % 2 == 0 ? 1 : -1;
        switch (kind) {
            case 0: return {sign * static_cast<int64_t>(next() % 4096), 1};                   // small integers
            case 1: return {sign * static_cast<int64_t>(next() % 100000), 2 + static_cast<int64_t>(next() % 3000)};
            case 2: return {sign * static_cast<int64_t>(next() >> 1), 1 + static_cast<int64_t>(next() >> 20)};
            default: return {sign * static_cast<int64_t>(next() % 4096), int64_t{1} << (next() % 40)};
        }
    };
    std::vector<std::pair<RatioOperand, RatioOperand>> pairs;
    for (int i = 0; i < 200000; ++i) {
        const RatioOperand a = operand();
        pairs.push_back({a, operand()});
    }
    return pairs;
}

double AngleInQuadrant(double heading) {
    if (heading >= 270) return heading - 270;
    if (heading >= 180) return heading - 180;
    if (heading >= 90) return heading - 90;
    return heading;
}

std::vector<Digest> WorldArithmeticDigests() {
    std::vector<Digest> digests = {Arithmetic()};
    for (const Digest& d : HeadingFunctions()) digests.push_back(d);
    for (const Digest& d : {HeadingSteps(), PolarOffsets(), Bearings(), Arctangents(), Distances()})
        digests.push_back(d);
    return digests;
}

std::string FormatDigests(const std::vector<Digest>& digests) {
    std::string text;
    for (const Digest& d : digests) text += d.Name + ": " + std::to_string(d.Count) + " " + ToHex64(d.Hash) + "\n";
    return text;
}

}  // namespace kelvane::precision
