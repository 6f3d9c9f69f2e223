#pragma once
// A small built-in stroke font (capitals, digits, a few signs) drawn on a 4 x 6 grid
// with chamfered corners, so captions look the same on every machine and need no
// installed font. Glyphs are polylines; text is drawn as glowing strokes.

#include <string_view>
#include <vector>

#include "Paint.h"

namespace kelvane::assets {

struct Stroke {
    float X0, Y0, X1, Y1;
};

struct TextStyle {
    float Height = 12;      // cap height in pixels
    float Weight = 1.5f;    // stroke width in pixels
    float Spacing = 1.0f;   // extra gap between glyphs, in grid units
    float Slant = 0.0f;     // horizontal shift per pixel of height (italic look)
};

// Strokes of the text in pixels, top-left of the first glyph cell at (x, y).
std::vector<Stroke> LayoutText(std::string_view text, float x, float y, const TextStyle& style);
// Width in pixels that LayoutText gives the text.
float TextWidth(std::string_view text, const TextStyle& style);

// Solid strokes blended on the layer.
void DrawStrokes(Layer& layer, const std::vector<Stroke>& strokes, float weight, Rgb colour, float alpha = 1.0f);
// Additive halo around the strokes.
void GlowStrokes(Layer& layer, const std::vector<Stroke>& strokes, float radius, Rgb colour, float power = 2.0f);

}  // namespace kelvane::assets
