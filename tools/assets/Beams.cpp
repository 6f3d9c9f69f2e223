// Items 1 and 10: the beam pictures. The game stretches them along their height to the
// distance between the two ships, so the picture is one transverse glow profile that
// repeats down its length, with a short taper at each end.

#include <cmath>

#include "Paint.h"
#include "Pictures.h"

namespace kelvane::assets {

namespace {

constexpr int BeamWidth = 13;
constexpr int BeamHeight = 32;

GeneratedPicture PaintBeam(const char* name, Rgb core, Rgb glow, Rgb fringe) {
    Layer beam(BeamWidth, BeamHeight);
    const float centre = BeamWidth / 2.0f;
    for (int y = 0; y < BeamHeight; ++y) {
        float taper = (y == 0 || y == BeamHeight - 1) ? 0.55f : 1.0f;
        for (int x = 0; x < BeamWidth; ++x) {
            float d = std::fabs(x + 0.5f - centre) / taper;
            Rgb c = core * std::exp(-d * d / 1.6f) + glow * std::exp(-d * d / 7.0f) + fringe * std::exp(-d * d / 22.0f);
            beam.At(x, y) = c;
        }
    }
    GeneratedPicture out;
    out.Name = name;
    out.Image = ToKeyedBitmap(beam, 30.0f / 255.0f);
    return out;
}

}  // namespace

GeneratedPicture PaintPhaserBeam() {
    return PaintBeam("PhaserOrangeBeam", Rgb8(255, 246, 220), Rgb8(255, 140, 30), Rgb8(150, 40, 0));
}

GeneratedPicture PaintPolaronBeam() {
    return PaintBeam("PolaronBeam", Rgb8(225, 255, 250), Rgb8(30, 215, 200), Rgb8(20, 70, 150));
}

}  // namespace kelvane::assets
