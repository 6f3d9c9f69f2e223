#pragma once
// The look shared by the status panels and the loading screen: a dark plated body with a
// bevelled rim, title strips with stroke-font captions, and dark wells behind the game's
// own texts and bars.

#include <string_view>

#include "Paint.h"
#include "Shapes.h"

namespace kelvane::assets {

// Colours of the interface, matched to the game's label and bar colours.
namespace ui {
inline const Rgb Body = Rgb8(16, 19, 36);
inline const Rgb BodyLow = Rgb8(9, 10, 21);
inline const Rgb Rim = Rgb8(74, 92, 156);
inline const Rgb RimLight = Rgb8(150, 170, 230);
inline const Rgb Accent = Rgb8(173, 123, 199);
inline const Rgb AccentWarm = Rgb8(255, 140, 60);
inline const Rgb Label = Rgb8(198, 220, 242);
inline const Rgb Well = Rgb8(5, 6, 12);
inline const Rgb WellRim = Rgb8(34, 42, 72);
}  // namespace ui

// Fills the outline with the panel body (gradient, faint plating noise) and draws its rim.
// Pixels outside the outline are left as they are.
void PaintPanelBody(Layer& layer, const Polygon& outline, uint32_t seed);
// The bevelled rim of a panel: the colour of a pixel `edge` pixels inside the outline (the
// rim is 3 pixels wide; deeper pixels keep `inside`), lit from above by `height`, the
// pixel's place from the panel's top (0) to its bottom (1).
Rgb PanelRim(Rgb inside, float edge, float height);
// A recessed dark rectangle [x0, x1) x [y0, y1) with a thin rim.
void PaintWell(Layer& layer, int x0, int y0, int x1, int y1);
// A title strip with a caption at its left and small indicator lights at its right.
void PaintTitleStrip(Layer& layer, int x0, int y0, int x1, int y1, std::string_view caption, int lights);
// Short corner brackets outside a rectangle, for framing the game's own frames.
void PaintCornerBrackets(Layer& layer, int x0, int y0, int x1, int y1, int arm, Rgb colour);

}  // namespace kelvane::assets
